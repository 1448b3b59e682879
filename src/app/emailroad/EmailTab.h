#pragma once

#include <QString>

// The e-mail tab's own rules, apart from the window that shows them.

// What the recipient edit shows while the recipients come from the document.
extern const QString EmailAddressPlaceholder;

// The template editor for the current e-mail form row of the main window.
void EditJobForm();

// Fills the main window's e-mail tab from the template of the current e-mail
// form row: recipients, subject, attachment and the send mode's caption.
void ShowEmailHeader();

// An attachment file name as typed, without any folder part.
QString AttachmentFileName(const QString &typed);

// A text with "#" is a template expression and is not checked; any other
// text is valid when every address in it is.
bool AddressTextShowsValid(const QString &text);
