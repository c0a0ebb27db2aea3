// Pictures of a window made of the toolkit's own controls, read back pixel by pixel.
#include <gtest/gtest.h>

#include <cairo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "HIToolbox/HIToolbox.h"
#include "Picture/Picture.h"

namespace {

struct Pixels {
    cairo_surface_t* surface = nullptr;
    explicit Pixels(const std::string& path)
        : surface(cairo_image_surface_create_from_png(path.c_str())) {}
    ~Pixels() { cairo_surface_destroy(surface); }
    // 0xRRGGBB
    unsigned At(int x, int y) const {
        const unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        return *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4) & 0xFFFFFF;
    }
    // The pixels of a rectangle, row after row.
    std::string Region(const Rect& r) const {
        std::string out;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) out += std::to_string(At(x, y)) + ",";
        return out;
    }
};

constexpr unsigned kBackground = 0xECECEC;
constexpr unsigned kFieldBorder = 0x9A9A9A;
constexpr unsigned kFocusRing = 0x5B9DE9;
constexpr unsigned kWhite = 0xFFFFFF;

const Rect kField = {20, 20, 38, 180};
const Rect kButton = {60, 100, 80, 190};

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        const Rect bounds = {0, 0, 100, 200};
        ASSERT_EQ(noErr,
                  CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &window));
        path = ::testing::TempDir() + "picture-test-" + std::to_string(getpid()) + ".png";
    }
    void TearDown() override {
        DisposeWindow(window);
        unlink(path.c_str());
    }

    ControlRef Field(const char* utf8, bool password) {
        CFStringRef text = CFStringCreateWithCString(nullptr, utf8, kCFStringEncodingUTF8);
        ControlRef field = nullptr;
        EXPECT_EQ(noErr,
                  CreateEditUnicodeTextControl(window, &kField, text, password, nullptr, &field));
        CFRelease(text);
        return field;
    }
    ControlRef Button() {
        ControlRef button = nullptr;
        EXPECT_EQ(noErr, CreatePushButtonControl(window, &kButton, CFSTR("Print"), &button));
        return button;
    }
    std::string Picture() {
        EXPECT_EQ(noErr, HalyxWriteWindowPicture(window, path.c_str()));
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    WindowRef window = nullptr;
    std::string path;
};

TEST_F(PictureTest, TheSameWindowGivesTheSameBytes) {
    Field("Rush job", false);
    Button();
    ShowWindow(window);
    const std::string first = Picture();
    ASSERT_GT(first.size(), 8u);
    EXPECT_EQ(0, first.compare(0, 4, "\x89PNG"));
    EXPECT_EQ(first, Picture());
}

// Where the field and the button are drawn, and what their state shows.
TEST_F(PictureTest, ControlsAreDrawnWhereTheyStandAsTheirStateShows) {
    ControlRef field = Field("", false);
    ControlRef button = Button();
    SetControlCommandID(button, kHICommandOK);
    ShowWindow(window);
    ASSERT_EQ(noErr, SetKeyboardFocus(window, field, kControlEditTextPart));
    HalyxDrawWindow(window);
    Picture();
    Pixels shown(path);
    const int middle = (kField.top + kField.bottom) / 2;
    const struct {
        int x, y;
        unsigned colour;
        const char* what;
    } kCases[] = {
        {kField.left - 1, middle, kFieldBorder, "the field's frame hugs its bounds"},
        {kField.right, middle, kFieldBorder, "on both sides"},
        {kField.right - 3, kField.top + 2, kWhite, "inside the field"},
        {kField.left - 3, middle, kFocusRing, "the focused field has a ring"},
        {kField.left - 6, middle, kBackground, "nothing outside the ring"},
        {kButton.left + 10, kButton.top + 3, 0x3A7BD5, "a Print button is drawn as the default"},
        {kButton.left - 2, kButton.top + 3, kBackground, "nothing left of the button"},
    };
    for (const auto& c : kCases) EXPECT_EQ(c.colour, shown.At(c.x, c.y)) << c.what;

    // Hidden without being drawn again: neither control shows any more.
    SetControlVisibility(field, false, false);
    SetControlVisibility(button, false, false);
    Picture();
    Pixels hidden(path);
    Rect around = kField;
    InsetRect(&around, -4, -4);
    const Rect emptyField = {around.top, 0, around.bottom, 200};
    const Rect emptyButton = {kButton.top, 0, kButton.bottom, 200};
    for (const Rect& r : {emptyField, emptyButton}) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                ASSERT_EQ(kBackground, hidden.At(x, y)) << "at " << x << "," << y;
    }
}

OSStatus TitleCell(ControlRef, DataBrowserItemID, DataBrowserPropertyID,
                   DataBrowserItemDataRef data, Boolean setValue) {
    return setValue ? noErr : SetDataBrowserItemDataText(data, CFSTR("Row"));
}

// The list's rows lie at its row height from its top, and the selected one is marked.
TEST_F(PictureTest, TheSelectedRowOfAListIsMarkedWhereItLies) {
    const Rect list = {10, 10, 90, 150};
    ControlRef browser = nullptr;
    ASSERT_EQ(noErr, CreateDataBrowserControl(window, &list, kDataBrowserListView, &browser));
    SetDataBrowserHasScrollBars(browser, false, false);
    SetDataBrowserListViewHeaderBtnHeight(browser, 0);
    SetDataBrowserTableViewRowHeight(browser, 20);
    DataBrowserCallbacks callbacks;
    InitDataBrowserCallbacks(&callbacks);
    callbacks.u.v1.itemDataCallback = TitleCell;
    SetDataBrowserCallbacks(browser, &callbacks);
    DataBrowserListViewColumnDesc column = {};
    column.propertyDesc.propertyID = HALYX_FOUR_CHAR('t', 'w', 'o', 'x');
    column.propertyDesc.propertyType = kDataBrowserTextType;
    column.headerBtnDesc.minimumWidth = column.headerBtnDesc.maximumWidth = 140;
    ASSERT_EQ(noErr, AddDataBrowserListViewColumn(browser, &column, 0));
    const DataBrowserItemID rows[] = {1, 2, 3};
    ASSERT_EQ(noErr, AddDataBrowserItems(browser, kDataBrowserNoItem, 3, rows, 0));
    ASSERT_EQ(noErr, RevealDataBrowserItem(browser, 2, column.propertyDesc.propertyID, 0));
    ShowWindow(window);
    Picture();
    Pixels shown(path);
    const struct {
        int x, y;
        unsigned colour;
        const char* what;
    } kCases[] = {
        {list.right - 3, list.top + 3, kWhite, "the first row is not selected"},
        {list.right - 3, list.top + 23, 0xCFE2FB, "the second row is"},
        {list.right - 3, list.top + 43, kWhite, "the third is not"},
        {list.left, list.top + 30, 0xA6A6A6, "the list is framed"},
        {list.left - 1, list.top + 30, kBackground, "nothing outside it"},
    };
    for (const auto& c : kCases) EXPECT_EQ(c.colour, shown.At(c.x, c.y)) << c.what;
}

TEST_F(PictureTest, APasswordIsDrawnAsBulletsNotLetters) {
    ControlRef password = Field("MMMM", true);
    ShowWindow(window);
    Picture();
    const std::string masked = Pixels(path).Region(kField);
    DisposeControl(password);

    ControlRef bullets = Field("\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2", false);
    HalyxDrawWindow(window);
    Picture();
    EXPECT_EQ(masked, Pixels(path).Region(kField));
    DisposeControl(bullets);

    Field("MMMM", false);
    HalyxDrawWindow(window);
    Picture();
    EXPECT_NE(masked, Pixels(path).Region(kField));
}

TEST_F(PictureTest, APathThatCannotTakeThePictureIsRefused) {
    ShowWindow(window);
    const struct {
        const char* path;
        OSStatus status;
    } kCases[] = {
        {"", paramErr},
        {"/no-such-folder/pane.png", dirNFErr},
        {"/tmp", bdNamErr},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(c.status, HalyxCheckPicturePath(c.path)) << c.path;
        EXPECT_EQ(c.status, HalyxWriteWindowPicture(window, c.path)) << c.path;
    }
    // A device that is full fails the write and is left as it is.
    EXPECT_EQ(dskFulErr, HalyxWriteWindowPicture(window, "/dev/full"));
    struct stat info;
    ASSERT_EQ(0, stat("/dev/full", &info));
    EXPECT_TRUE(S_ISCHR(info.st_mode));
    EXPECT_EQ(paramErr, HalyxWriteWindowPicture(nullptr, path.c_str()));
}

}  // namespace
