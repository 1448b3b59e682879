#include "lib/data/QkcommonPaint.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

namespace {

struct RecordedKey
{
    QEvent::Type type;
    int key;
    Qt::KeyboardModifiers modifiers;
};

class KeyRecorder : public QWidget
{
public:
    QList<RecordedKey> events;

protected:
    void keyPressEvent(QKeyEvent *event) override { record(*event); }
    void keyReleaseEvent(QKeyEvent *event) override { record(*event); }

private:
    void record(const QKeyEvent &event) { events.append({event.type(), event.key(), event.modifiers()}); }
};

int blackPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == Qt::black ? 1 : 0;
    }
    return count;
}

} // namespace

TEST(EllipsisButton, BlackDotsAreCentredTwoSizesApartAndAtLeastOnePixel)
{
    const QList<QRect> dots = qkEllipsisDots(QRect(0, 0, 16, 16));
    EXPECT_EQ(dots, (QList<QRect>{QRect(3, 7, 2, 2), QRect(7, 7, 2, 2), QRect(11, 7, 2, 2)}));
    const QList<QRect> narrow = qkEllipsisDots(QRect(10, 20, 5, 9));
    EXPECT_EQ(narrow[1], QRect(12, 24, 1, 1));
    EXPECT_EQ(narrow[2].left() - narrow[0].left(), 4);

    QImage image(24, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    qkDrawEllipsisButton(painter, image.rect(), 2, 0);
    painter.end();
    EXPECT_GE(blackPixels(image), 3 * 9);
    EXPECT_EQ(image.pixelColor(qkEllipsisDots(image.rect())[1].center()), QColor(Qt::black));
}

TEST(ComboButton, LookFollowsPressedStateAndEnabledAndAnArrowIsPainted)
{
    EXPECT_FALSE(qkComboButtonLook(false, 0, true).pushed);
    EXPECT_TRUE(qkComboButtonLook(true, 0, true).pushed);
    EXPECT_TRUE(qkComboButtonLook(true, 0, true).flat);
    EXPECT_FALSE(qkComboButtonLook(true, 0x80, true).pushed);
    EXPECT_FALSE(qkComboButtonLook(true, 0, false).pushed);
    EXPECT_FALSE(qkComboButtonLook(true, 0, false).enabled);
    QImage image(17, 21, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    qkDrawComboButton(painter, image.rect(), false, 0, true);
    painter.end();
    EXPECT_NE(image.pixelColor(8, 10), QColor(Qt::magenta));
}

TEST(KeyHelpers, EditKeysChangeTextAndTheHighBitMeansPressed)
{
    EXPECT_TRUE(qkHighBitSet(0x81));
    EXPECT_TRUE(qkHighBitSet(0x80));
    EXPECT_FALSE(qkHighBitSet(0x7F));
    for (int key : {int(Qt::Key_A), int(Qt::Key_9), int(Qt::Key_Space), int(Qt::Key_Backspace), int(Qt::Key_Delete),
                    int(Qt::Key_Minus), int(Qt::Key_Adiaeresis), int(Qt::Key_ssharp)})
        EXPECT_TRUE(qkIsEditKey(key)) << std::hex << key;
    for (int key :
         {int(Qt::Key_Left), int(Qt::Key_F12), int(Qt::Key_Home), int(Qt::Key_Insert), int(Qt::Key_Escape),
          int(Qt::Key_Tab), int(Qt::Key_Return), int(Qt::Key_Shift), int(Qt::Key_CapsLock), int(Qt::Key_Print)})
        EXPECT_FALSE(qkIsEditKey(key)) << std::hex << key;
}

TEST(KeyHelpers, SimulatedKeyArrivesWithItsModifier)
{
    KeyRecorder window;
    qkSimulateKey(&window, Qt::Key_Down, Qt::Key_Alt);
    QCoreApplication::sendPostedEvents(&window);
    ASSERT_EQ(window.events.size(), 2);
    EXPECT_EQ(window.events[0].type, QEvent::KeyPress);
    EXPECT_EQ(window.events[0].key, Qt::Key_Down);
    EXPECT_EQ(window.events[0].modifiers, Qt::AltModifier);
    EXPECT_EQ(window.events[1].type, QEvent::KeyRelease);
}

TEST(Forms, TheParentFormIsTheFirstWindowAmongTheOwnersAndOneLineFitsItsBorders)
{
    EXPECT_TRUE(qkFitsOneLine(13, 18));
    EXPECT_FALSE(qkFitsOneLine(13, 19));
    EXPECT_TRUE(qkFitsOneLine(13, 10));
    QWidget form;
    QWidget panel(&form);
    QObject helper(&panel);
    EXPECT_EQ(qkGetParentForm(&helper), &form);
    QObject root;
    QObject child(&root);
    EXPECT_EQ(qkGetParentForm(&child), &root);
    QRect area;
    qkGetWorkArea(area);
    EXPECT_FALSE(area.isEmpty());
}

TEST(FocusRect, DrawsInTheHighlightColourAndRestoresThePainter)
{
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setBrush(QBrush(Qt::green, Qt::Dense4Pattern));
    painter.setPen(Qt::red);
    qkDrawFocusRect(painter, QRect(2, 2, 20, 10));
    EXPECT_EQ(painter.brush().style(), Qt::Dense4Pattern);
    EXPECT_EQ(painter.pen().color(), QColor(Qt::red));
    painter.end();
    // The style's focus frame goes over the highlight-coloured rectangle; the
    // border keeps the highlight's hue, the outside stays untouched.
    const QColor highlight = QApplication::palette().color(QPalette::Highlight);
    EXPECT_NEAR(image.pixelColor(21, 7).hue(), highlight.hue(), 10);
    EXPECT_EQ(image.pixelColor(25, 7), QColor(Qt::white));
}
