// The design places of the forms and their scaling to the display.
#include <gtest/gtest.h>

#include <map>

#include "mainwindow/form_design.h"
#include "mainwindow/main_form_layout.h"

namespace tovimo {
namespace {

constexpr int Dpis[] = {96, 120, 144, 192};

// A label's size is its text's: in the proportional 12-pixel
// "ＭＳ Ｐゴシック" about 6 pixels for a single-byte and 11 for a
// double-byte character (kana are narrower than kanji), 13 pixels high.
DesignRect Footprint(const ControlDesign& control) {
    DesignRect place = control.place;
    if (place.width == 0) {
        int width = 0;
        for (std::size_t i = 0; i < control.text.size(); ++i) {
            const unsigned char byte = static_cast<unsigned char>(control.text[i]);
            const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
            width += lead ? 11 : 6;
            if (lead) ++i;
        }
        place.width = width;
        place.height = 13;
    }
    return place;
}

bool Overlap(const DesignRect& a, const DesignRect& b) {
    return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

// No two controls of one parent overlap at any scale (a frame holds the
// controls inside it, so frames and panels are left out), and every
// control lies inside its parent.
void ExpectClearLayout(std::span<const ControlDesign> controls,
                       const std::map<int, DesignRect>& parents) {
    for (int dpi : Dpis) {
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const ControlDesign& a = controls[i];
            const DesignRect aPlace = ScaleToDpi(Footprint(a), dpi);
            const DesignRect parent = ScaleToDpi(parents.at(a.parent), dpi);
            EXPECT_LE(aPlace.right(), parent.width) << a.text << " at " << dpi;
            EXPECT_LE(aPlace.bottom(), parent.height) << a.text << " at " << dpi;
            if (a.kind == ControlKind::Frame || a.kind == ControlKind::Panel) continue;
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                const ControlDesign& b = controls[j];
                if (b.parent != a.parent || b.kind == ControlKind::Frame ||
                    b.kind == ControlKind::Panel)
                    continue;
                EXPECT_FALSE(Overlap(aPlace, ScaleToDpi(Footprint(b), dpi)))
                    << a.text << " / " << b.text << " at " << dpi;
            }
        }
    }
}

TEST(FormDesign, NoControlOfAnyFormOverlapsAnotherAtAnyScale) {
    // The main window's panels at their design sizes (the client area of a
    // 274-pixel-wide window is 266 wide).
    ExpectClearLayout(MainFormControls(), {{IdPanel4, {0, 0, 110, 280}},
                                           {IdPanel1, {0, 0, 266, 26}},
                                           {IdPanel2, {0, 0, 266, 368}}});
    for (const DialogDesign& dialog : {FileTypeDlgDesign(), SkipFormDesign(), AboutBoxDesign()}) {
        ExpectClearLayout(dialog.controls,
                          {{0, {0, 0, dialog.clientWidth, dialog.clientHeight}},
                           {IdAboutPanel, {0, 0, 281, 185}}});
    }
}

TEST(FormScale, EdgesScaleSoThatTouchingControlsStayApart) {
    EXPECT_EQ(ScaleToDpi(97, 96), 97);
    EXPECT_EQ(ScaleToDpi(97, 120), 121);
    EXPECT_EQ(ScaleToDpi(97, 144), 146);
    EXPECT_EQ(ScaleToDpi(-3, 144), -5);
    EXPECT_EQ(UnscaleFromDpi(146, 144), 97);
    // Two buttons 80 and 112 from the top, 25 high: 7 pixels apart at 96.
    for (int dpi : Dpis) {
        const DesignRect upper = ScaleToDpi(DesignRect{8, 80, 97, 25}, dpi);
        const DesignRect lower = ScaleToDpi(DesignRect{8, 112, 97, 25}, dpi);
        EXPECT_LT(upper.bottom(), lower.top) << dpi;
        EXPECT_EQ(upper.right(), ScaleToDpi(105, dpi));
    }
}

TEST(MainFormLayout, TheTreeTakesWhatThePanelsBelowLeave) {
    const MainFormLayout hidden = LayOutMainForm(266, 688, false, 96);
    EXPECT_EQ(hidden.Panel1, (DesignRect{0, 648, 266, 40}));
    EXPECT_EQ(hidden.Panel4, (DesignRect{156, 0, 110, 648}));
    EXPECT_EQ(hidden.Panel3, (DesignRect{0, 0, 156, 648}));
    EXPECT_EQ(hidden.Panel2, DesignRect{});
    EXPECT_EQ(hidden.ProgressBar1, (DesignRect{0, 26, 266, 14}));

    const MainFormLayout shown = LayOutMainForm(266, 688 + 350, true, 96);
    EXPECT_EQ(shown.Panel2, (DesignRect{0, 670, 266, 368}));
    EXPECT_EQ(shown.Panel1.top, 630);
    EXPECT_EQ(shown.Panel3.height, 630);

    const MainFormLayout large = LayOutMainForm(399, 1557, true, 144);
    EXPECT_EQ(large.Panel2.height, 552);
    EXPECT_EQ(large.Panel4.width, 165);
    EXPECT_EQ(SettingsStep(144), 525);
    // A window made too small squeezes the tree, never a negative size.
    const MainFormLayout tiny = LayOutMainForm(50, 30, true, 96);
    EXPECT_GE(tiny.Panel3.width, 0);
    EXPECT_GE(tiny.Panel3.height, 0);
    EXPECT_GE(tiny.Panel1.height, 0);
}

TEST(MainFormLayout, AWindowOffTheScreenIsMovedBackOntoIt) {
    const DesignRect screen{0, 0, 1920, 1040};
    EXPECT_EQ(PullOntoScreen({203, 113, 274, 742}, screen), (DesignRect{203, 113, 274, 742}));
    EXPECT_EQ(PullOntoScreen({3000, -500, 274, 742}, screen), (DesignRect{1646, 0, 274, 742}));
    EXPECT_EQ(PullOntoScreen({-2000, 900, 274, 742}, screen), (DesignRect{0, 298, 274, 742}));
    EXPECT_EQ(PullOntoScreen({10, 10, 274, 2000}, screen), (DesignRect{10, 0, 274, 1040}));
    const DesignRect second{1920, 0, 1280, 1024};
    EXPECT_EQ(PullOntoScreen({3500, 100, 274, 742}, second), (DesignRect{2926, 100, 274, 742}));
}

}  // namespace
}  // namespace tovimo
