#include "platform/os/message_box.h"

#include <SDL.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/os/messages.h"
#include "platform/os/text.h"

namespace {

std::atomic<plat::BoxAnswerSource> s_AnswerSource{nullptr};
std::atomic<plat::BoxPresenter> s_Presenter{nullptr};
std::atomic<HWND> s_hActiveWindow{nullptr};
std::atomic<bool> s_bCarriedRefused{false};

// -1: decide from the environment at the first box; 0: never; 1: SDL may be asked.
std::atomic<int> s_nShownBySdl{-1};

bool IsYesNo(UINT type) { return (type & MB_TYPEMASK) == MB_YESNO; }

int DefaultAnswer(UINT type) { return IsYesNo(type) ? IDNO : IDOK; }

// Callers only ever test for IDOK, IDYES and IDNO, so every answer is folded into those.
int NormaliseAnswer(UINT type, int answer)
{
    if (!IsYesNo(type)) return IDOK;
    return answer == IDYES ? IDYES : IDNO;
}

bool EnvironmentHasDisplay()
{
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0)) return false;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

bool BoxesShownBySdl()
{
    int shown = s_nShownBySdl.load();
    if (shown < 0) {
        int decided = EnvironmentHasDisplay() ? 1 : 0;
        s_nShownBySdl.compare_exchange_strong(shown, decided);
        shown = s_nShownBySdl.load();
    }
    return shown == 1;
}

void WriteToStandardError(const std::string& captionUtf8, const std::string& textUtf8)
{
    std::string line = "[" + captionUtf8 + "] " + textUtf8 + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

// No box can be shown: the text is kept on standard error and the harness answers.
int AnswerWithoutBox(const char* text, const char* caption, UINT type)
{
    const std::string textUtf8 = plat::Cp932ToUtf8(text);
    WriteToStandardError(plat::Cp932ToUtf8(caption), textUtf8);
    plat::BoxAnswerSource source = s_AnswerSource.load();
    const int answer = source ? source(type, textUtf8.c_str()) : 0;
    return answer == 0 ? DefaultAnswer(type) : NormaliseAnswer(type, answer);
}

Uint32 SdlIconFlags(UINT type)
{
    switch (type & 0xF0) {
    case MB_ICONHAND: return SDL_MESSAGEBOX_ERROR;
    case MB_ICONEXCLAMATION: return SDL_MESSAGEBOX_WARNING;
    case MB_ICONQUESTION:
    case MB_ICONINFORMATION: return SDL_MESSAGEBOX_INFORMATION;
    default: return 0;
    }
}

// 0 when SDL could not show the box.
int ShowWithSdl(const char* text, const char* caption, UINT type)
{
    const std::string textUtf8 = plat::Cp932ToUtf8(text);
    const std::string captionUtf8 = plat::Cp932ToUtf8(caption);
    const SDL_MessageBoxButtonData yesNo[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, u8"はい"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, u8"いいえ"},
    };
    const SDL_MessageBoxButtonData ok[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"},
    };
    SDL_MessageBoxData data{};
    data.flags = SdlIconFlags(type);
#if SDL_VERSION_ATLEAST(2, 0, 12)
    data.flags |= SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
#endif
    data.title = captionUtf8.c_str();
    data.message = textUtf8.c_str();
    data.numbuttons = IsYesNo(type) ? 2 : 1;
    data.buttons = IsYesNo(type) ? yesNo : ok;
    int button = -1;
    if (SDL_ShowMessageBox(&data, &button) < 0) return 0;
    // Closing the box without a button gives the default answer.
    return button < 0 ? DefaultAnswer(type) : NormaliseAnswer(type, button);
}

int ShowOnWindowThread(plat::BoxPresenter presenter, HWND owner, const char* text, const char* caption,
                       UINT type)
{
    if (presenter) {
        const int answer = presenter(owner, text, caption, type);
        if (answer != 0) return NormaliseAnswer(type, answer);
    }
    if (BoxesShownBySdl()) {
        const int answer = ShowWithSdl(text, caption, type);
        if (answer != 0) return answer;
    }
    return AnswerWithoutBox(text, caption, type);
}

}  // namespace

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type)
{
    if (!text) text = "";
    if (!caption) caption = "Error";
    const plat::BoxPresenter presenter = s_Presenter.load();
    if (!presenter && !BoxesShownBySdl()) return AnswerWithoutBox(text, caption, type);

    // A box carried from another thread is refused while closing, also when it was queued
    // before the closing began and is only reached now.
    const bool carried = !plat::IsWindowThread();
    auto refused = [carried] { return carried && s_bCarriedRefused.load(); };
    int answer = 0;
    if (!refused() && plat::RunOnWindowThread([&] {
            if (!refused()) answer = ShowOnWindowThread(presenter, owner, text, caption, type);
        }) && answer != 0)
        return answer;
    // The window thread is gone or closing: the box cannot be shown, so it takes its default.
    WriteToStandardError(plat::Cp932ToUtf8(caption), plat::Cp932ToUtf8(text));
    return DefaultAnswer(type);
}

HWND GetActiveWindow() { return s_hActiveWindow.load(); }

namespace plat {

void SetBoxAnswerSource(BoxAnswerSource source) { s_AnswerSource.store(source); }

void SetBoxPresenter(BoxPresenter presenter) { s_Presenter.store(presenter); }

void SetBoxesShownBySdl(bool shown) { s_nShownBySdl.store(shown ? 1 : 0); }

bool BoxesMayBeShown() { return BoxesShownBySdl(); }

void SetActiveWindow(HWND hWnd) { s_hActiveWindow.store(hWnd); }

void SetCarriedBoxesRefused(bool refused) { s_bCarriedRefused.store(refused); }

}  // namespace plat
