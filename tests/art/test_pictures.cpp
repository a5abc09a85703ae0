#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <vector>

#include "art/pictures.h"

namespace {

using mitoran::pictures::signalLampCentre;
using mitoran::pictures::signalPicture;

struct NamedIcon {
    const char* name;
    std::function<QIcon()> make;
};

const std::vector<NamedIcon>& allIcons() {
    static const std::vector<NamedIcon> icons = {
        {"arrow", mitoran::pictures::arrowIcon}, {"scissors", mitoran::pictures::scissorsIcon},
        {"stop", mitoran::pictures::stopIcon},   {"helpTour", mitoran::pictures::helpTourIcon},
        {"app", mitoran::pictures::appIcon},
    };
    return icons;
}

// Counts pixels that are fully transparent and pixels that are clearly visible.
std::pair<int, int> coverage(const QImage& image) {
    int clear = 0, solid = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            if (alpha == 0) ++clear;
            if (alpha > 200) ++solid;
        }
    return {clear, solid};
}

QColor pixelAt(const QPixmap& pixmap, QPointF logical) {
    const QImage image = pixmap.toImage();
    const QPoint device = (logical * pixmap.devicePixelRatio()).toPoint();
    return image.pixelColor(device);
}

TEST(Icons, EveryListedSizeIsDrawnWithRealContent) {
    for (const auto& [name, make] : allIcons()) {
        SCOPED_TRACE(name);
        const QIcon icon = make();
        ASSERT_FALSE(icon.isNull());
        const QList<QSize> sizes = icon.availableSizes();
        for (int side : {16, 24, 32, 48, 64, 128, 256}) {
            SCOPED_TRACE(side);
            EXPECT_TRUE(sizes.contains(QSize(side, side)));
            const QPixmap pixmap = icon.pixmap(QSize(side, side), 1.0);
            ASSERT_EQ(pixmap.size(), QSize(side, side));
            // A shape on a transparent ground: neither blank nor a filled square.
            const auto [clear, solid] = coverage(pixmap.toImage());
            EXPECT_GT(clear, 0);
            EXPECT_GT(solid, side * side / 10);
        }
    }
}

TEST(Icons, DoubleScalingGetsPixmapsOfTwiceTheSizeWithoutUpscaling) {
    for (const auto& [name, make] : allIcons()) {
        SCOPED_TRACE(name);
        const QIcon icon = make();
        for (int side : {16, 32, 256}) {
            const QPixmap sharp = icon.pixmap(QSize(side, side), 2.0);
            EXPECT_EQ(sharp.size(), QSize(2 * side, 2 * side));
            EXPECT_DOUBLE_EQ(sharp.devicePixelRatio(), 2.0);
            // The doubled request must be the drawing made at that size, not a blown-up copy.
            const QImage drawn = icon.pixmap(QSize(2 * side, 2 * side), 1.0).toImage();
            EXPECT_EQ(sharp.toImage().convertToFormat(drawn.format()), drawn);
        }
    }
}

TEST(Icons, AreDistinctPictures) {
    std::vector<QImage> images;
    for (const auto& icon : allIcons()) images.push_back(icon.make().pixmap(48, 48).toImage());
    for (size_t a = 0; a < images.size(); ++a)
        for (size_t b = a + 1; b < images.size(); ++b)
            EXPECT_NE(images[a], images[b]) << allIcons()[a].name << " vs " << allIcons()[b].name;
}

TEST(Icons, StopIsRedInTheMiddle) {
    const QColor middle = mitoran::pictures::stopIcon().pixmap(64, 64).toImage().pixelColor(32, 32);
    EXPECT_GT(middle.red(), 180);
    EXPECT_LT(middle.green(), 90);
    EXPECT_LT(middle.blue(), 90);
}

TEST(Signal, OnlyTheChosenLampIsLitInItsColour) {
    for (int lamp = 1; lamp <= 3; ++lamp) {
        SCOPED_TRACE(lamp);
        const QPixmap picture = signalPicture(lamp, 96);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.deviceIndependentSize().toSize(), mitoran::pictures::signalSize(96));
        const QColor lit = pixelAt(picture, signalLampCentre(lamp, 96));
        switch (lamp) {
            case 1:  // red
                EXPECT_GT(lit.red(), 200);
                EXPECT_LT(lit.green(), 100);
                EXPECT_LT(lit.blue(), 100);
                break;
            case 2:  // yellow: red and green strong, blue weak
                EXPECT_GT(lit.red(), 200);
                EXPECT_GT(lit.green(), 160);
                EXPECT_LT(lit.blue(), 100);
                break;
            case 3:  // green
                EXPECT_GT(lit.green(), 160);
                EXPECT_GT(lit.green(), lit.red() + 80);
                EXPECT_GT(lit.green(), lit.blue() + 40);
                break;
        }
        for (int other = 1; other <= 3; ++other) {
            if (other == lamp) continue;
            const QColor dim = pixelAt(picture, signalLampCentre(other, 96));
            EXPECT_LT(std::abs(dim.red() - dim.green()), 16) << "lamp " << other;
            EXPECT_LT(std::abs(dim.green() - dim.blue()), 16) << "lamp " << other;
            EXPECT_LT(dim.value(), lit.value()) << "lamp " << other;
        }
    }
}

TEST(Signal, ThreePicturesDifferAndLampsDoNotOverlap) {
    const QImage red = signalPicture(1).toImage();
    const QImage yellow = signalPicture(2).toImage();
    const QImage green = signalPicture(3).toImage();
    EXPECT_NE(red, yellow);
    EXPECT_NE(yellow, green);
    EXPECT_NE(red, green);
    for (int lamp = 1; lamp <= 3; ++lamp) {
        const QPointF centre = signalLampCentre(lamp, 96);
        EXPECT_TRUE(QRectF(QPointF(0, 0), mitoran::pictures::signalSize(96)).contains(centre));
    }
    EXPECT_GT(std::abs(signalLampCentre(1, 96).x() - signalLampCentre(2, 96).x()), 48);
    EXPECT_GT(std::abs(signalLampCentre(2, 96).x() - signalLampCentre(3, 96).x()), 48);
}

TEST(Signal, FollowsTheRequestedHeightAndRefusesNonsense) {
    for (int height : {24, 48, 200}) {
        const QPixmap picture = signalPicture(2, height);
        EXPECT_EQ(qRound(picture.deviceIndependentSize().height()), height);
        const QColor lit = pixelAt(picture, signalLampCentre(2, height));
        EXPECT_GT(lit.red(), 200) << height;
        EXPECT_LT(lit.blue(), 100) << height;
    }
    EXPECT_TRUE(signalPicture(1, 0).isNull());
    EXPECT_TRUE(signalPicture(1, -5).isNull());
    // No lamp lit: every lamp stays grey.
    const QPixmap dark = signalPicture(0);
    for (int lamp = 1; lamp <= 3; ++lamp) {
        const QColor c = pixelAt(dark, signalLampCentre(lamp, 96));
        EXPECT_LT(std::abs(c.red() - c.blue()), 16);
    }
}

}  // namespace
