#!/usr/bin/python3
"""The demo's mail server: accepts every message on 127.0.0.1 and stores it,
exactly as it arrived, as a .eml file in a folder of the demo installation.

    smtp_sink.py FOLDER PORT

It runs until it is stopped (SIGTERM or SIGINT)."""

import itertools
import pathlib
import signal
import sys
import time

from aiosmtpd.controller import Controller


class StoreAsEml:
    def __init__(self, folder: pathlib.Path):
        self.folder = folder
        self.numbers = itertools.count(1)

    async def handle_DATA(self, server, session, envelope):
        stamp = time.strftime("%Y%m%d-%H%M%S")
        target = self.folder / f"{stamp}-{next(self.numbers):04d}.eml"
        envelope_lines = "".join(f"X-Envelope-To: {rcpt}\r\n" for rcpt in envelope.rcpt_tos)
        content = envelope.original_content or envelope.content
        with open(target, "xb") as out:
            out.write(f"X-Envelope-From: {envelope.mail_from}\r\n{envelope_lines}".encode())
            out.write(content)
        return "250 Message accepted for delivery"


def main() -> int:
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    folder = pathlib.Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    stop_signals = {signal.SIGTERM, signal.SIGINT}
    # Blocked before the server's thread starts, so only sigwait sees them.
    signal.pthread_sigmask(signal.SIG_BLOCK, stop_signals)
    controller = Controller(StoreAsEml(folder), hostname="127.0.0.1", port=int(sys.argv[2]))
    controller.start()
    signal.sigwait(stop_signals)
    controller.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
