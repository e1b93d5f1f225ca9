#include "tests/support/dialog_driver.h"

#include <SDL2/SDL.h>

#include <cstring>
#include <deque>

#include "platform/input/keyboard.h"
#include "platform/ui/dialog_box.h"
#include "platform/ui/sdl_window.h"
#include "platform/ui/window.h"

namespace qbtest {
namespace {

LRESULT QuietProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

SDL_Scancode ScancodeOf(int virtualKey)
{
    for (int code = 0; code < SDL_NUM_SCANCODES; ++code)
        if (plat::VirtualKeyFromScancode(code) == virtualKey) return static_cast<SDL_Scancode>(code);
    return SDL_SCANCODE_UNKNOWN;
}

void PushKey(int virtualKey, bool down)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = ScancodeOf(virtualKey);
    SDL_PushEvent(&event);
}

void PushText(bool commit, const std::string& utf8)
{
    SDL_Event event{};
    if (commit) {
        event.type = SDL_TEXTINPUT;
        std::strncpy(event.text.text, utf8.c_str(), sizeof event.text.text - 1);
    } else {
        event.type = SDL_TEXTEDITING;
        std::strncpy(event.edit.text, utf8.c_str(), sizeof event.edit.text - 1);
        event.edit.length = 0;
    }
    SDL_PushEvent(&event);
}

}  // namespace

void cDialogDriver::SetUp(const char* className)
{
    plat::SetWindowThread();
    plat::StartSdlVideo();
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = QuietProc;
    windowClass.lpszClassName = className;
    RegisterClassExA(&windowClass);
    m_hMain = CreateWindowExA(0, className, "", WS_POPUP | WS_CAPTION, 100, 100, 646, 505, nullptr, nullptr, nullptr,
                              nullptr);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

void cDialogDriver::TearDown()
{
    plat::SetDialogIdleHook(nullptr);
    plat::ClearKeyStates();
    plat::DestroyMainSdlWindow();
    plat::ForgetWindows();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

void cDialogDriver::Then(std::function<void(HWND)> step) { m_Steps.push_back(std::move(step)); }

void cDialogDriver::Press(int virtualKey)
{
    Hold(virtualKey);
    Release(virtualKey);
}

void cDialogDriver::Hold(int virtualKey)
{
    Then([virtualKey](HWND) { PushKey(virtualKey, true); });
}

void cDialogDriver::Release(int virtualKey)
{
    Then([virtualKey](HWND) { PushKey(virtualKey, false); });
}

void cDialogDriver::Type(const std::string& utf8)
{
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t n = 1;
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead >= 0xF0) n = 4;
        else if (lead >= 0xE0) n = 3;
        else if (lead >= 0xC0) n = 2;
        const std::string one = utf8.substr(i, n);
        Then([one](HWND) { PushText(true, one); });
        i += n;
    }
}

void cDialogDriver::Compose(const std::string& utf8)
{
    Then([utf8](HWND) { PushText(false, utf8); });
}

void cDialogDriver::Commit(const std::string& utf8)
{
    Then([utf8](HWND) { PushText(true, utf8); });
}

void cDialogDriver::Arm()
{
    m_nNext = 0;
    plat::SetDialogIdleHook([this](HWND hDlg) {
        if (m_nNext < m_Steps.size()) {
            m_Steps[m_nNext++](hDlg);
            return true;
        }
        EndDialog(hDlg, kDriverEnded);
        return true;
    });
}

namespace {

std::deque<std::string> s_Answers;

bool TakeAnswer(std::string& answer)
{
    if (s_Answers.empty()) return false;
    answer = s_Answers.front();
    s_Answers.pop_front();
    return true;
}

}  // namespace

cDialogAnswers::cDialogAnswers()
{
    s_Answers.clear();
    plat::SetDialogAnswerSource(TakeAnswer);
}

cDialogAnswers::~cDialogAnswers()
{
    plat::SetDialogAnswerSource(nullptr);
    s_Answers.clear();
}

void cDialogAnswers::Add(const std::string& utf8) { s_Answers.push_back(utf8); }

std::string ControlText(HWND hDlg, int id)
{
    char buffer[8192] = {};
    GetDlgItemTextA(hDlg, id, buffer, sizeof buffer);
    return buffer;
}

std::pair<int, int> ControlSelection(HWND hDlg, int id)
{
    DWORD from = 0, to = 0;
    SendDlgItemMessageA(hDlg, id, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    return {static_cast<int>(from), static_cast<int>(to)};
}

}  // namespace qbtest
