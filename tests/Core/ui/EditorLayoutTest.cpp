// The panel's geometry from the field font, the title column and its font, and the fields placed
// in their rows as the list scrolls.
#include <string>

#include "EditorHarness.h"

namespace {

using editortest::Dialog;

const char kSixNotes[] =
    "*%ORBJobNote *N1/One: 20\n*%ORBJobNote *N2/Two: 20\n*%ORBJobNote *N3/Three: 20\n"
    "*%ORBJobNote *N4/Four: 20\n*%ORBJobNote *N5/Five: 20\n*%ORBJobNote *N6/Six: 20\n";

Rect BoundsOf(ControlRef control) {
    Rect bounds;
    GetControlBounds(control, &bounds);
    return bounds;
}

// The pane content from the top: 20 blank, whole rows plus 9, 20 blank, 60 of messages, 20 blank.
void ExpectPanelGeometry(Dialog& dialog, SInt16 listBottom) {
    const Rect list = dialog.Editor().Bounds();
    EXPECT_EQ(20, list.top);
    EXPECT_EQ(listBottom, list.bottom);
    EXPECT_EQ(list.bottom, BoundsOf(dialog.Editor().Browser()).bottom);
    const Rect message = dialog.Panel().MessageArea()->Bounds();
    EXPECT_EQ(listBottom + 20, message.top);
    EXPECT_EQ(listBottom + 80, message.bottom);
    EXPECT_EQ(listBottom + 100, BoundsOf(dialog.Pane()).bottom);
}

TEST(EditorLayoutTest, PanelGeometryFollowsTheRowHeightOfTheFieldFont) {
    {
        // The system font at 13 is 18 high: rows of 40, five of them in the 200 given.
        Dialog dialog(kSixNotes);
        ASSERT_TRUE(dialog.Panel().IsValid());
        ASSERT_TRUE(dialog.Panel().IsBuilt());
        EXPECT_EQ(40u, dialog.Editor().RowHeight());
        EXPECT_EQ(5u, dialog.Editor().VisibleRows());
        ExpectPanelGeometry(dialog, 229);
    }
    {
        // A field font whose line is 19 high (odd, so one more pixel of room) gives rows of 42,
        // four of them.
        const FontInfo taller = {13, 4, 7, 2};
        HalyxOverrideFontInfo(systemFont, 13, &taller);
        Dialog dialog(kSixNotes);
        EXPECT_EQ(42u, dialog.Editor().RowHeight());
        EXPECT_EQ(4u, dialog.Editor().VisibleRows());
        ExpectPanelGeometry(dialog, 197);
        HalyxResetFontInfo();
    }
}

TEST(EditorLayoutTest, FieldsSitInTheValueColumnOfTheRowsThatShow) {
    Dialog dialog(kSixNotes);
    ControlRef browser = dialog.Editor().Browser();
    UInt16 header = 1;
    GetDataBrowserListViewHeaderBtnHeight(browser, &header);
    EXPECT_EQ(0, header);
    for (UInt16 row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        UI_EditControl* field = dialog.Field(row);
        ASSERT_TRUE(field->IsInitialized());
        Rect cell;
        GetDataBrowserItemPartBounds(browser, reinterpret_cast<DataBrowserItemID>(field),
                                     UI_JobNotesBrowser::kValueColumn, 0, &cell);
        const Rect placed = BoundsOf(field->Control());
        EXPECT_EQ(cell.left, placed.left);
        EXPECT_EQ(cell.right - 24, placed.right);
        EXPECT_EQ(field->Height(), placed.bottom - placed.top);
        // Centred in the row, 6 pixels of it kept below.
        EXPECT_EQ(6, (cell.bottom - placed.bottom) - (placed.top - cell.top));
        EXPECT_TRUE(IsControlVisible(field->Control()));
    }
    // The sixth row shows only in part: its field is made but not offered.
    ASSERT_TRUE(dialog.Field(5)->IsInitialized());
    EXPECT_FALSE(IsControlVisible(dialog.Field(5)->Control()));

    dialog.ClickField(4);
    dialog.Tab();
    ASSERT_TRUE(dialog.HasFocus(5));
    EXPECT_TRUE(dialog.Field(5)->IsInitialized());
    EXPECT_TRUE(IsControlVisible(dialog.Field(5)->Control()));
    EXPECT_FALSE(IsControlVisible(dialog.Field(0)->Control()));
    ControlRef focus = nullptr;
    GetKeyboardFocus(dialog.Window(), &focus);
    EXPECT_EQ(dialog.Field(5)->Control(), focus);
    dialog.Type("typed");
    EXPECT_EQ("typed", dialog.Text(5));
    dialog.Tab();  // wraps to the first row
    EXPECT_TRUE(dialog.HasFocus(0));
    EXPECT_TRUE(IsControlVisible(dialog.Field(0)->Control()));
}

TEST(EditorLayoutTest, TitlesWiderThanTheReferenceDropTheListFontToNine) {
    GrafPtr saved;
    GetPort(&saved);
    for (const bool wide : {false, true}) {
        SCOPED_TRACE(wide);
        const std::string title = wide ? std::string(40, 'W') : "Short";
        Dialog dialog("*%ORBJobNote *N1/" + title + ": 20\n*%ORBJobNote *N2/Two: 20\n");
        SetPortWindowPort(dialog.Window());
        const SInt16 reference = TextWidth("MMMMMMMMMMMMMMMMMMMMMMMMMMMMMM", 0, 30);
        const SInt16 titleWidth =
            static_cast<SInt16>(TextWidth(title.data(), 0, static_cast<SInt16>(title.size())) + 50);
        SetPort(saved);
        ASSERT_EQ(wide, titleWidth > reference);

        ControlFontStyleRec font = {};
        GetControlData(dialog.Editor().Browser(), kControlEntireControl, kControlFontStyleTag,
                       sizeof font, &font, nullptr);
        UInt16 width = 0;
        GetDataBrowserTableViewNamedColumnWidth(dialog.Editor().Browser(),
                                                UI_JobNotesBrowser::kTitleColumn, &width);
        EXPECT_EQ(wide ? 9 : 12, font.size);
        EXPECT_EQ(wide ? reference : titleWidth, width);
    }
}

}  // namespace
