// The program's resources as the platform sees them: dialogs built from the templates, the pictures and the
// version information, all linked into this test program from the program's own resource script.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource.h"

namespace {

INT_PTR CALLBACK ignoreMessages(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

HINSTANCE module() {
    return GetModuleHandleA(nullptr);
}

// One control of a template as tabulated: -1 for controls without an id.
struct ControlSpec {
    int id;
    const char* className;
    const char* text;
    RECT dialogUnits;  // x, y, width, height
    LONG style;        // the style bits the control must have (beyond WS_CHILD | WS_VISIBLE)
};

class Dialog {
public:
    explicit Dialog(int templateId)
        : hwnd(CreateDialogParamA(module(), MAKEINTRESOURCEA(templateId), nullptr, ignoreMessages, 0)) {}
    ~Dialog() {
        if (hwnd != nullptr) DestroyWindow(hwnd);
    }
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    HWND hwnd;
};

std::string textOf(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string classOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The controls in template order (which is also the tab order) against the table; positions are compared in
// pixels after converting the table's dialog units with the dialog's own font.
void expectControls(HWND dialog, const std::vector<ControlSpec>& specs) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    ASSERT_EQ(children.size(), specs.size());
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const ControlSpec& spec = specs[i];
        const HWND child = children[i];
        SCOPED_TRACE(std::string("control ") + std::to_string(i) + " \"" + spec.text + "\"");
        EXPECT_EQ(static_cast<int>(static_cast<short>(GetDlgCtrlID(child))), spec.id);
        EXPECT_STRCASEEQ(classOf(child).c_str(), spec.className);
        EXPECT_EQ(textOf(child), spec.text);
        LONG style = GetWindowLongA(child, GWL_STYLE);
        // Controls may trade the border for an edge of their own: edits in a dialog with the 3-D look get the
        // sunken client edge, and the progress bar draws its frame itself.
        if ((GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0 ||
            classOf(child) == PROGRESS_CLASSA) {
            style |= WS_BORDER;
        }
        EXPECT_EQ(style & spec.style, spec.style) << std::hex << style;
        // Nothing else that decides keyboard behaviour: tab stops and groups only where tabulated.
        EXPECT_EQ(style & (WS_TABSTOP | WS_GROUP), spec.style & (WS_TABSTOP | WS_GROUP)) << std::hex << style;
        // The dialog manager converts position and size each on its own.
        RECT expected = spec.dialogUnits;
        MapDialogRect(dialog, &expected);
        RECT actual;
        GetWindowRect(child, &actual);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right - actual.left, expected.right);
        EXPECT_EQ(actual.bottom - actual.top, expected.bottom);
    }
}

// The dialog's client area in dialog units.
void expectSize(HWND dialog, int width, int height) {
    RECT expected = {0, 0, width, height};
    MapDialogRect(dialog, &expected);
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);
}

class ResourcesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
    }
};

constexpr LONG Edit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr LONG Check = BS_AUTOCHECKBOX | WS_TABSTOP;

TEST_F(ResourcesTest, MainWindowTemplate) {
    Dialog dialog(IDD_MAIN);
    ASSERT_NE(dialog.hwnd, nullptr);
    EXPECT_EQ(textOf(dialog.hwnd), "Velmora Converter");
    const LONG style = GetWindowLongA(dialog.hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
              WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_NE(GetWindowLongA(dialog.hwnd, GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY, 0);
    expectSize(dialog.hwnd, 236, 297);
    expectControls(
        dialog.hwnd,
        {
            {IDC_MAIN_CONVERT, "Button", "Convert", {64, 276, 50, 14}, BS_PUSHBUTTON | WS_TABSTOP},
            {IDC_MAIN_EXIT, "Button", "Exit", {121, 276, 50, 14}, BS_PUSHBUTTON | WS_TABSTOP},
            {IDC_MAIN_HAND_RANGE, "Button", "Hand Range", {7, 5, 222, 75}, BS_GROUPBOX},
            {IDC_MAIN_ALL_HANDS, "Button", "All hands", {13, 17, 45, 8}, BS_AUTORADIOBUTTON | WS_GROUP},
            {IDC_MAIN_FIRST_HANDS, "Button", "The first", {13, 33, 41, 8}, BS_AUTORADIOBUTTON},
            {IDC_MAIN_LAST_HANDS, "Button", "The last", {13, 49, 41, 8}, BS_AUTORADIOBUTTON},
            {IDC_MAIN_HANDS_BETWEEN, "Button", "Hands between", {13, 65, 66, 8}, BS_AUTORADIOBUTTON},
            {IDC_MAIN_FIRST_COUNT, "Edit", "", {55, 31, 40, 12}, Edit | WS_GROUP},
            {-1, "Static", "hands", {99, 33, 20, 8}, SS_LEFT},
            {IDC_MAIN_LAST_COUNT, "Edit", "", {55, 47, 40, 12}, Edit},
            {-1, "Static", "hands", {99, 49, 20, 8}, SS_LEFT},
            {IDC_MAIN_RANGE_MIN, "Edit", "", {80, 63, 40, 12}, Edit},
            {-1, "Static", "and", {124, 65, 13, 8}, SS_LEFT},
            {IDC_MAIN_RANGE_MAX, "Edit", "", {140, 63, 40, 12}, Edit},
            {-1, "Button", "File Splitting", {7, 83, 222, 60}, BS_GROUPBOX},
            {IDC_MAIN_ONE_FILE, "Button", "One big file", {13, 96, 51, 8}, BS_AUTORADIOBUTTON | WS_GROUP},
            {IDC_MAIN_SPLIT_FILES, "Button", "Split the hands between", {13, 112, 92, 8}, BS_AUTORADIOBUTTON},
            {IDC_MAIN_HANDS_PER_FILE, "Button", "Save", {13, 128, 32, 8}, BS_AUTORADIOBUTTON},
            {IDC_MAIN_FILE_COUNT, "Edit", "", {106, 110, 40, 12}, Edit | WS_GROUP},
            {-1, "Static", "files", {150, 112, 13, 8}, SS_LEFT},
            {IDC_MAIN_HANDS_PER_FILE_COUNT, "Edit", "", {46, 126, 40, 12}, Edit},
            {-1, "Static", "hands per file", {90, 129, 43, 8}, SS_LEFT},
            {IDC_MAIN_FIX_SMALL_BLIND,
             "Button",
             "Fix hands with missing small blinds",
             {7, 152, 121, 8},
             Check},
            {IDC_MAIN_MAKE_6MAX, "Button", "Make short handed tables 6-max", {7, 163, 119, 8}, Check},
            {IDC_MAIN_REAL_MONEY, "Button", "Real money", {7, 174, 54, 8}, Check},
            {IDC_MAIN_MUCK_HANDS, "Button", "Muck losing/uncalled hands", {7, 196, 108, 8}, Check},
            {IDC_MAIN_SAVE_ALL_HOLE, "Button", "Save everyone's hole cards", {7, 185, 112, 8}, Check},
            {-1, "Static", "Velmora Log Input", {7, 212, 83, 8}, SS_LEFT},
            {IDC_MAIN_INPUT_PATH, "Edit", "", {7, 220, 168, 12}, Edit},
            {IDC_MAIN_BROWSE_INPUT, "Button", "Browse...", {179, 219, 50, 14}, BS_PUSHBUTTON},
            {-1, "Static", "Party Poker HH Output", {7, 236, 74, 8}, SS_LEFT},
            {IDC_MAIN_OUTPUT_PATH, "Edit", "", {7, 244, 168, 12}, Edit},
            {IDC_MAIN_BROWSE_OUTPUT, "Button", "Browse...", {179, 243, 50, 14}, BS_PUSHBUTTON},
        });
}

TEST_F(ResourcesTest, MainWindowRadioGroupsAreIndependent) {
    Dialog dialog(IDD_MAIN);
    ASSERT_NE(dialog.hwnd, nullptr);
    auto click = [&](int id) { SendDlgItemMessageA(dialog.hwnd, id, BM_CLICK, 0, 0); };
    auto checked = [&](int id) { return IsDlgButtonChecked(dialog.hwnd, id) == BST_CHECKED; };
    click(IDC_MAIN_FIRST_HANDS);
    click(IDC_MAIN_SPLIT_FILES);
    EXPECT_TRUE(checked(IDC_MAIN_FIRST_HANDS));
    EXPECT_TRUE(checked(IDC_MAIN_SPLIT_FILES));
    click(IDC_MAIN_HANDS_BETWEEN);
    EXPECT_FALSE(checked(IDC_MAIN_FIRST_HANDS));
    EXPECT_TRUE(checked(IDC_MAIN_HANDS_BETWEEN));
    EXPECT_TRUE(checked(IDC_MAIN_SPLIT_FILES));
    click(IDC_MAIN_HANDS_PER_FILE);
    EXPECT_FALSE(checked(IDC_MAIN_SPLIT_FILES));
    EXPECT_TRUE(checked(IDC_MAIN_HANDS_PER_FILE));
    EXPECT_TRUE(checked(IDC_MAIN_HANDS_BETWEEN));
    // The check boxes belong to no set.
    click(IDC_MAIN_REAL_MONEY);
    EXPECT_TRUE(checked(IDC_MAIN_REAL_MONEY));
    EXPECT_TRUE(checked(IDC_MAIN_HANDS_PER_FILE));
    EXPECT_TRUE(checked(IDC_MAIN_HANDS_BETWEEN));
}

TEST_F(ResourcesTest, ProgressDialogTemplate) {
    Dialog dialog(IDD_PROGRESS);
    ASSERT_NE(dialog.hwnd, nullptr);
    EXPECT_EQ(textOf(dialog.hwnd), "Converting Hand Histories");
    EXPECT_FALSE(IsWindowVisible(dialog.hwnd));
    const LONG style = GetWindowLongA(dialog.hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);
    expectSize(dialog.hwnd, 210, 69);
    expectControls(
        dialog.hwnd,
        {
            {IDC_PROGRESS_CANCEL, "Button", "Cancel", {79, 49, 50, 14}, BS_PUSHBUTTON | WS_TABSTOP},
            {IDC_PROGRESS_BAR, "msctls_progress32", "", {5, 30, 199, 14}, WS_BORDER | PBS_SMOOTH},
            {IDC_PROGRESS_STATUS, "Static", "Please wait...", {6, 15, 197, 8}, SS_LEFTNOWORDWRAP},
        });
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog.hwnd, IDC_PROGRESS_STATUS), GWL_STYLE) & SS_TYPEMASK,
              SS_LEFTNOWORDWRAP);
    PBRANGE range{};
    SendDlgItemMessageA(dialog.hwnd, IDC_PROGRESS_BAR, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
}

TEST_F(ResourcesTest, AboutDialogTemplate) {
    Dialog dialog(IDD_ABOUT);
    ASSERT_NE(dialog.hwnd, nullptr);
    EXPECT_EQ(textOf(dialog.hwnd), "About Velmora Converter");
    EXPECT_FALSE(IsWindowVisible(dialog.hwnd));
    EXPECT_NE(GetWindowLongA(dialog.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    expectSize(dialog.hwnd, 235, 55);
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog.hwnd, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    ASSERT_EQ(children.size(), 7u);
    const HWND ok = children[0];
    EXPECT_EQ(GetDlgCtrlID(ok), IDC_ABOUT_OK);
    EXPECT_EQ(textOf(ok), "OK");
    EXPECT_EQ(GetWindowLongA(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    const HWND version = children[1];
    EXPECT_EQ(textOf(version).rfind("VLConverter Version ", 0), 0u) << textOf(version);
    EXPECT_NE(GetWindowLongA(version, GWL_STYLE) & SS_NOPREFIX, 0);
    const HWND picture = children[2];
    EXPECT_EQ(GetWindowLongA(picture, GWL_STYLE) & SS_TYPEMASK, SS_BITMAP);
    EXPECT_NE(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    // The credits: three lines at x 47, with the ids 1033 and 1034 among the four texts.
    const int lineTops[] = {18, 29, 40};
    for (std::size_t i = 3; i < children.size(); ++i)
        EXPECT_FALSE(textOf(children[i]).empty());
    EXPECT_NE(GetDlgItem(dialog.hwnd, IDC_ABOUT_CREDITS), nullptr);
    EXPECT_NE(GetDlgItem(dialog.hwnd, IDC_ABOUT_CONTACT), nullptr);
    for (int top : lineTops) {
        RECT expected = {47, top, 48, top + 1};
        MapDialogRect(dialog.hwnd, &expected);
        bool found = false;
        for (std::size_t i = 3; i < children.size(); ++i) {
            RECT actual;
            GetWindowRect(children[i], &actual);
            MapWindowPoints(nullptr, dialog.hwnd, reinterpret_cast<POINT*>(&actual), 2);
            found = found || (actual.left == expected.left && actual.top == expected.top);
        }
        EXPECT_TRUE(found) << "no credits line at y " << top;
    }
}

// The sizes of an icon group, from its directory resource.
std::vector<int> iconSizes(int id) {
    std::vector<int> sizes;
    const HRSRC found = FindResourceA(module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    if (found == nullptr) return sizes;
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module(), found)));
    const int count = data[4] | (data[5] << 8);
    for (int i = 0; i < count; ++i) {
        const BYTE* entry = data + 6 + 14 * i;  // width, height, ...
        EXPECT_EQ(entry[0], entry[1]);
        sizes.push_back(entry[0] == 0 ? 256 : entry[0]);
    }
    return sizes;
}

TEST_F(ResourcesTest, IconsAndBitmap) {
    EXPECT_EQ(iconSizes(IDI_PROGRAM), (std::vector<int>{48, 32, 16}));
    EXPECT_EQ(iconSizes(IDI_WINDOW), (std::vector<int>{32}));
    EXPECT_NE(LoadIconA(module(), MAKEINTRESOURCEA(IDI_WINDOW)), nullptr);
    const HBITMAP bitmap = LoadBitmapA(module(), MAKEINTRESOURCEA(IDB_ABOUT));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 48);
    EXPECT_EQ(info.bmHeight, 48);
    DeleteObject(bitmap);
}

std::string versionValue(const std::vector<char>& block, const char* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), &value, &length) || length == 0) return {};
    return static_cast<const char*>(value);
}

TEST_F(ResourcesTest, VersionInformation) {
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(program, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(program, 0, size, block.data()));
    EXPECT_EQ(versionValue(block, "FileDescription"), "Velmora Converter");
    EXPECT_EQ(versionValue(block, "ProductName"), "Velmora Converter");
    EXPECT_EQ(versionValue(block, "InternalName"), "VLConverter");
    EXPECT_FALSE(versionValue(block, "FileVersion").empty());
}

}  // namespace
