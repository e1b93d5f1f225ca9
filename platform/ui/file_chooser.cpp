#include "platform/ui/file_chooser.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "platform/os/files.h"
#include "platform/os/message_box.h"
#include "platform/os/path_cache.h"
#include "platform/os/text.h"

namespace plat {
namespace {

constexpr WORD kFolderLabel = 1091;
constexpr WORD kFileList = 1120;
constexpr WORD kNameLabel = 1090;
constexpr WORD kNameEdit = 1152;
constexpr WORD kTypeLabel = 1089;
constexpr WORD kTypeText = 1136;

const DIALOGITEM s_ChooserItems[] = {
    {kFolderLabel, eDialogItem::Static, "", 7, 6, 246, 10, 0},
    {kFileList, eDialogItem::ListBox, "", 7, 18, 246, 118, WS_TABSTOP},
    {kNameLabel, eDialogItem::Static, "ファイル名:", 7, 143, 60, 10, 0},
    {kNameEdit, eDialogItem::Edit, "", 70, 141, 130, 13, WS_TABSTOP},
    {kTypeLabel, eDialogItem::Static, "ファイルの種類:", 7, 161, 60, 10, 0},
    {kTypeText, eDialogItem::Static, "", 70, 161, 130, 10, 0},
    {IDOK, eDialogItem::DefButton, "開く", 205, 140, 48, 14, WS_TABSTOP},
    {IDCANCEL, eDialogItem::Button, "キャンセル", 205, 158, 48, 14, WS_TABSTOP},
};

DIALOGTEMPLATE s_ChooserTemplate{0, WS_CAPTION | WS_SYSMENU, 260, 180, "ＭＳ Ｐゴシック", 9, "",
                                 s_ChooserItems, static_cast<int>(std::size(s_ChooserItems)), true};

struct cRow {
    std::string name;   // CP932
    bool bFolder = false;
};

struct cChooser {
    OPENFILENAMEA* ofn = nullptr;
    bool bSave = false;
    std::vector<std::string> folder;  // components of the program's absolute path
    std::string patterns;
    std::vector<cRow> rows;
    HWND hDlg = nullptr;
};

// One chooser runs at a time, on the window thread.
cChooser* s_lpChooser = nullptr;
DWORD s_dwLastError = 0;

char Fold(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Wildcard match over CP932 characters: '*' any run, '?' one character.
bool Match(const std::string& name, std::size_t n, const std::string& pattern, std::size_t p)
{
    while (p < pattern.size()) {
        if (pattern[p] == '*') {
            for (std::size_t at = n;; at += Cp932CharLength(name, at)) {
                if (Match(name, at, pattern, p + 1)) return true;
                if (at >= name.size()) return false;
            }
        }
        if (n >= name.size()) return false;
        const std::size_t nl = Cp932CharLength(name, n), pl = Cp932CharLength(pattern, p);
        if (pattern[p] == '?') {
            n += nl;
            p += 1;
            continue;
        }
        if (nl != pl) return false;
        if (nl == 1 ? Fold(name[n]) != Fold(pattern[p]) : name.compare(n, nl, pattern, p, pl) != 0) return false;
        n += nl;
        p += pl;
    }
    return n == name.size();
}

std::string Join(const std::vector<std::string>& parts)
{
    std::string path;
    for (const std::string& part : parts) path += '\\' + part;
    return path.empty() ? "\\" : path;
}

// The ';'-separated patterns of the first filter pair.
std::string FirstPatterns(const char* filter)
{
    if (!filter || !*filter) return "*";
    const char* patterns = filter + std::strlen(filter) + 1;
    return *patterns ? patterns : "*";
}

std::vector<cRow> ListFolder(const std::vector<std::string>& folder, const std::string& patterns)
{
    std::vector<cRow> folders, files;
    const std::string native = NativePath(Join(folder).c_str());
    DIR* dir = native.empty() ? nullptr : opendir(native.c_str());
    if (dir) {
        while (dirent* entry = readdir(dir)) {
            const std::string nameUtf8 = entry->d_name;
            if (nameUtf8 == "." || nameUtf8 == "..") continue;
            std::string name;
            // A name with no CP932 form could not be opened by the program: it is not shown.
            if (!Utf8ToCp932(nameUtf8, name)) continue;
            struct stat info{};
            if (stat((native + "/" + nameUtf8).c_str(), &info) != 0) continue;
            if (S_ISDIR(info.st_mode)) folders.push_back(cRow{name, true});
            else if (MatchesFilePatterns(name, patterns)) files.push_back(cRow{name, false});
        }
        closedir(dir);
    }
    auto byName = [](const cRow& a, const cRow& b) { return a.name < b.name; };
    std::sort(folders.begin(), folders.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    std::vector<cRow> rows;
    if (!folder.empty()) rows.push_back(cRow{"..", true});
    rows.insert(rows.end(), folders.begin(), folders.end());
    rows.insert(rows.end(), files.begin(), files.end());
    return rows;
}

void ShowFolder(cChooser& c)
{
    c.rows = ListFolder(c.folder, c.patterns);
    SetDlgItemTextA(c.hDlg, kFolderLabel, Join(c.folder).c_str());
    SendDlgItemMessageA(c.hDlg, kFileList, LB_RESETCONTENT, 0, 0);
    for (const cRow& row : c.rows) {
        const std::string shown = row.bFolder ? "[" + row.name + "]" : row.name;
        SendDlgItemMessageA(c.hDlg, kFileList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    }
}

// The folder to start in: the initial folder when it exists, else the working folder.
std::vector<std::string> StartFolder(const char* initial)
{
    char full[4096] = {};
    if (initial && *initial && GetFullPathNameA(initial, sizeof full, full, nullptr) > 0 && PathIsDirectoryA(full))
        return SplitProgramPath(full).parts;
    std::string current;
    if (CurrentProgramFolder(current)) return SplitProgramPath(current).parts;
    return {};
}

bool HasWildcard(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

// The typed name as a full path: relative to the folder shown, the default extension added to
// a name without one (when it names one extension, not patterns).
std::string FullPathOf(const cChooser& c, const std::string& typed)
{
    cProgramPath given = SplitProgramPath(typed);
    std::vector<std::string> parts = given.bAbsolute ? std::vector<std::string>{} : c.folder;
    parts.insert(parts.end(), given.parts.begin(), given.parts.end());
    NormaliseParts(parts, false);
    if (parts.empty()) return "\\";
    std::string& last = parts.back();
    const std::string defExt = c.ofn->lpstrDefExt ? c.ofn->lpstrDefExt : "";
    if (!defExt.empty() && !HasWildcard(defExt) && defExt.find(';') == std::string::npos &&
        FindLastSingleByte(last, '.') == std::string::npos && !PathIsDirectoryA(Join(parts).c_str()))
        last += "." + defExt;
    return Join(parts);
}

// Takes a chosen path: true when the dialog may end with it.
bool Choose(cChooser& c, const std::string& path)
{
    OPENFILENAMEA& ofn = *c.ofn;
    // A path that does not fit fails instead of being cut into another name.
    if (!ofn.lpstrFile || path.size() + 2 > ofn.nMaxFile) {
        s_dwLastError = FNERR_BUFFERTOOSMALL;
        EndDialog(c.hDlg, 0);
        return false;
    }
    const bool exists = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    // A new name is what a save dialog is for, whatever OFN_FILEMUSTEXIST says.
    if (!exists && !c.bSave && (ofn.Flags & OFN_FILEMUSTEXIST)) {
        const std::string text = path + "\nファイルが見つかりません。";
        MessageBoxA(c.hDlg, text.c_str(), ofn.lpstrTitle ? ofn.lpstrTitle : "", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (exists && c.bSave && (ofn.Flags & OFN_OVERWRITEPROMPT)) {
        const std::string text = path + " は既に存在します。\n上書きしますか?";
        if (MessageBoxA(c.hDlg, text.c_str(), ofn.lpstrTitle ? ofn.lpstrTitle : "", MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return false;
    }
    std::memcpy(ofn.lpstrFile, path.c_str(), path.size());
    // The list of chosen names ends with an empty one.
    ofn.lpstrFile[path.size()] = '\0';
    ofn.lpstrFile[path.size() + 1] = '\0';
    const std::size_t slash = FindLastSingleByte(path, '\\');
    ofn.nFileOffset = static_cast<WORD>(slash == std::string::npos ? 0 : slash + 1);
    const std::size_t dot = FindLastSingleByte(path, '.');
    ofn.nFileExtension = static_cast<WORD>(dot == std::string::npos || dot < ofn.nFileOffset ? 0 : dot + 1);
    return true;
}

void OnOk(cChooser& c)
{
    const int selected = static_cast<int>(SendDlgItemMessageA(c.hDlg, kFileList, LB_GETCURSEL, 0, 0));
    const bool listFocused = GetFocus() == GetDlgItem(c.hDlg, kFileList);
    if (listFocused && selected >= 0 && selected < static_cast<int>(c.rows.size()) && c.rows[static_cast<std::size_t>(selected)].bFolder) {
        const std::string& name = c.rows[static_cast<std::size_t>(selected)].name;
        if (name == "..") c.folder.pop_back();
        else c.folder.push_back(name);
        ShowFolder(c);
        return;
    }
    char typed[4096] = {};
    GetDlgItemTextA(c.hDlg, kNameEdit, typed, sizeof typed);
    if (!*typed) return;
    const std::string path = FullPathOf(c, typed);
    if (PathIsDirectoryA(path.c_str())) {
        c.folder = SplitProgramPath(path).parts;
        SetDlgItemTextA(c.hDlg, kNameEdit, "");
        ShowFolder(c);
        return;
    }
    if (Choose(c, path)) EndDialog(c.hDlg, 1);
}

INT_PTR ChooserProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM)
{
    cChooser* c = s_lpChooser;
    if (!c) return 0;
    switch (msg) {
    case WM_INITDIALOG: {
        c->hDlg = hDlg;
        OPENFILENAMEA& ofn = *c->ofn;
        SetWindowTextA(hDlg, ofn.lpstrTitle ? ofn.lpstrTitle : (c->bSave ? "名前を付けて保存" : "開く"));
        SetDlgItemTextA(hDlg, IDOK, c->bSave ? "保存" : "開く");
        SetDlgItemTextA(hDlg, kTypeText, ofn.lpstrFilter ? ofn.lpstrFilter : "");
        ShowFolder(*c);
        SetDlgItemTextA(hDlg, kNameEdit, ofn.lpstrFile ? ofn.lpstrFile : "");
        SendDlgItemMessageA(hDlg, kNameEdit, EM_SETSEL, 0, -1);
        SetFocus(GetDlgItem(hDlg, kNameEdit));
        if ((ofn.Flags & OFN_ENABLEHOOK) && ofn.lpfnHook) ofn.lpfnHook(hDlg, msg, 0, 0);
        return 0;
    }
    case WM_COMMAND: {
        const WORD id = static_cast<WORD>(wParam & 0xFFFF), notification = static_cast<WORD>(wParam >> 16);
        if (id == IDOK) OnOk(*c);
        else if (id == IDCANCEL) EndDialog(hDlg, 0);
        else if (id == kFileList && notification == LBN_SELCHANGE) {
            const int row = static_cast<int>(SendDlgItemMessageA(hDlg, kFileList, LB_GETCURSEL, 0, 0));
            if (row >= 0 && row < static_cast<int>(c->rows.size()) && !c->rows[static_cast<std::size_t>(row)].bFolder)
                SetDlgItemTextA(hDlg, kNameEdit, c->rows[static_cast<std::size_t>(row)].name.c_str());
        } else if (id == kFileList && notification == LBN_DBLCLK) {
            OnOk(*c);
        }
        return 1;
    }
    case WM_CLOSE:
        EndDialog(hDlg, 0);
        return 1;
    default:
        return 0;
    }
}

BOOL RunChooser(OPENFILENAMEA* ofn, bool save)
{
    s_dwLastError = 0;
    if (!ofn || s_lpChooser) return FALSE;
    cChooser chooser;
    chooser.ofn = ofn;
    chooser.bSave = save;
    chooser.folder = StartFolder(ofn->lpstrInitialDir);
    chooser.patterns = FirstPatterns(ofn->lpstrFilter);
    s_lpChooser = &chooser;
    const INT_PTR result = DialogBoxIndirect(&s_ChooserTemplate, ofn->hwndOwner, ChooserProc, 0);
    s_lpChooser = nullptr;
    return result == 1 ? TRUE : FALSE;
}

}  // namespace

bool MatchesFilePatterns(const std::string& name, const std::string& patterns)
{
    std::size_t start = 0;
    while (start <= patterns.size()) {
        std::size_t end = patterns.find(';', start);
        if (end == std::string::npos) end = patterns.size();
        std::string pattern = patterns.substr(start, end - start);
        while (!pattern.empty() && pattern.front() == ' ') pattern.erase(0, 1);
        if (!pattern.empty() && Match(name, 0, pattern, 0)) return true;
        start = end + 1;
    }
    return false;
}

}  // namespace plat

BOOL GetOpenFileNameA(OPENFILENAMEA* ofn) { return plat::RunChooser(ofn, false); }

BOOL GetSaveFileNameA(OPENFILENAMEA* ofn) { return plat::RunChooser(ofn, true); }

DWORD CommDlgExtendedError() { return plat::s_dwLastError; }
