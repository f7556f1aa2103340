// The program's resources as the platform uses them: dialogs built from the templates, the pictures and the
// version information, linked into this test program from the program's own resource script.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProgramDriver.h"
#include "resource.h"

namespace {

using vlc::testing::windowText;

INT_PTR CALLBACK ignoreMessages(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

HINSTANCE module() {
    return GetModuleHandleA(nullptr);
}

class Dialog {
public:
    explicit Dialog(int templateId) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        hwnd = CreateDialogParamA(module(), MAKEINTRESOURCEA(templateId), nullptr, ignoreMessages, 0);
    }
    ~Dialog() {
        if (hwnd != nullptr) DestroyWindow(hwnd);
    }
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    LONG style(int id) const { return GetWindowLongA(GetDlgItem(hwnd, id), GWL_STYLE); }

    HWND hwnd = nullptr;
};

// The radio sets, check boxes and the captions of the main and About windows are worked in ProgramTest; here
// the order the Tab key takes.
TEST(Resources, MainWindowTabOrder) {
    Dialog dialog(IDD_MAIN);
    ASSERT_NE(dialog.hwnd, nullptr);
    // Tab stops in template order; the radio sets are reached with the arrow keys.
    const std::vector<int> expected = {
        IDC_MAIN_CONVERT,         IDC_MAIN_EXIT,       IDC_MAIN_FIRST_COUNT, IDC_MAIN_LAST_COUNT,
        IDC_MAIN_RANGE_MIN,       IDC_MAIN_RANGE_MAX,  IDC_MAIN_FILE_COUNT,  IDC_MAIN_HANDS_PER_FILE_COUNT,
        IDC_MAIN_FIX_SMALL_BLIND, IDC_MAIN_MAKE_6MAX,  IDC_MAIN_REAL_MONEY,  IDC_MAIN_MUCK_HANDS,
        IDC_MAIN_SAVE_ALL_HOLE,   IDC_MAIN_INPUT_PATH, IDC_MAIN_OUTPUT_PATH};
    std::vector<int> order;
    HWND control = GetNextDlgTabItem(dialog.hwnd, nullptr, FALSE);
    for (std::size_t i = 0; control != nullptr && i < expected.size(); ++i) {
        order.push_back(GetDlgCtrlID(control));
        control = GetNextDlgTabItem(dialog.hwnd, control, FALSE);
    }
    EXPECT_EQ(order, expected);
}

TEST(Resources, ProgressDialog) {
    Dialog dialog(IDD_PROGRESS);
    ASSERT_NE(dialog.hwnd, nullptr);
    EXPECT_EQ(windowText(dialog.hwnd), "Converting Hand Histories");
    char className[32] = "";
    GetClassNameA(GetDlgItem(dialog.hwnd, IDC_PROGRESS_BAR), className, sizeof className);
    EXPECT_STREQ(className, PROGRESS_CLASSA);
    EXPECT_NE(dialog.style(IDC_PROGRESS_BAR) & PBS_SMOOTH, 0);
    PBRANGE range{};
    SendDlgItemMessageA(dialog.hwnd, IDC_PROGRESS_BAR, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    EXPECT_EQ(dialog.style(IDC_PROGRESS_STATUS) & SS_TYPEMASK, SS_LEFTNOWORDWRAP);
    EXPECT_EQ(windowText(GetDlgItem(dialog.hwnd, IDC_PROGRESS_CANCEL)), "Cancel");
}

TEST(Resources, AboutDialog) {
    Dialog dialog(IDD_ABOUT);
    ASSERT_NE(dialog.hwnd, nullptr);
    EXPECT_NE(GetWindowLongA(dialog.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(dialog.style(IDC_ABOUT_OK) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_FALSE(windowText(GetDlgItem(dialog.hwnd, IDC_ABOUT_CREDITS)).empty());
    EXPECT_FALSE(windowText(GetDlgItem(dialog.hwnd, IDC_ABOUT_CONTACT)).empty());
    // The version line and the picture have no ids: found among the statics.
    bool versionShown = false;
    bool pictureShown = false;
    for (HWND child = GetWindow(dialog.hwnd, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if (windowText(child).starts_with("VLConverter Version ")) versionShown = (style & SS_NOPREFIX) != 0;
        if ((style & SS_TYPEMASK) == SS_BITMAP)
            pictureShown = SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
    }
    EXPECT_TRUE(versionShown);
    EXPECT_TRUE(pictureShown);
}

// The sizes of an icon group, from its directory: a 6-byte header, then 14 bytes per picture.
std::vector<int> iconSizes(int id) {
    std::vector<int> sizes;
    const HRSRC found = FindResourceA(module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    if (found == nullptr) return sizes;
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module(), found)));
    const int count = data[4] | (data[5] << 8);
    for (int i = 0; i < count; ++i) {
        const BYTE* entry = data + 6 + 14 * i;
        EXPECT_EQ(entry[0], entry[1]);  // square
        sizes.push_back(entry[0] == 0 ? 256 : entry[0]);
    }
    return sizes;
}

TEST(Resources, IconsAndBitmap) {
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

TEST(Resources, VersionInformation) {
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(program, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(program, 0, size, block.data()));
    auto value = [&](const char* name) -> std::string {
        void* text = nullptr;
        UINT length = 0;
        const std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
        return VerQueryValueA(block.data(), path.c_str(), &text, &length) && length > 0
                   ? static_cast<const char*>(text)
                   : "";
    };
    EXPECT_EQ(value("FileDescription"), "Velmora Converter");
    EXPECT_EQ(value("ProductName"), "Velmora Converter");
    EXPECT_EQ(value("InternalName"), "VLConverter");
}

}  // namespace
