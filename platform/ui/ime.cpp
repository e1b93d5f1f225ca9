#include "platform/ui/ime.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <deque>

#include "platform/os/messages.h"
#include "platform/os/text.h"

namespace {

// Window thread only, like the dialogs that read it.
std::string s_strComposition;
bool s_bTextInput = false;
std::deque<plat::cTextEvent> s_TextEvents;

// Characters with no CP932 form cannot be stored by the program: they are left out.
std::string ToCp932Dropping(const std::string& utf8)
{
    std::string out, one;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t n = 1;
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead >= 0xF0) n = 4;
        else if (lead >= 0xE0) n = 3;
        else if (lead >= 0xC0) n = 2;
        if (plat::Utf8ToCp932(std::string_view(utf8).substr(i, n), one)) out += one;
        i += n;
    }
    return out;
}

}  // namespace

HIMC ImmGetContext(HWND hWnd) { return IsWindow(hWnd) ? reinterpret_cast<HIMC>(hWnd) : nullptr; }

BOOL ImmReleaseContext(HWND, HIMC context) { return context ? TRUE : FALSE; }

LONG ImmGetCompositionStringA(HIMC context, DWORD index, void* buffer, DWORD size)
{
    if (!context || index != GCS_COMPSTR) return 0;
    const std::string& text = s_strComposition;
    if (buffer && size > 0) {
        const std::size_t n = std::min<std::size_t>(size, text.size());
        std::copy_n(text.data(), n, static_cast<char*>(buffer));
    }
    return static_cast<LONG>(text.size());
}

namespace plat {

void StartTextInputAt(int x, int y, int height)
{
    SDL_Rect rect{x, y, 1, height};
    SDL_SetTextInputRect(&rect);
    if (!s_bTextInput) SDL_StartTextInput();
    s_bTextInput = true;
}

void StopTextInput()
{
    if (s_bTextInput) SDL_StopTextInput();
    s_bTextInput = false;
    s_strComposition.clear();
    s_TextEvents.clear();
}

bool TextInputActive() { return s_bTextInput; }

void SetComposition(const std::string& utf8) { s_strComposition = ToCp932Dropping(utf8); }

const std::string& CompositionCp932() { return s_strComposition; }

bool QueueSdlTextEvent(bool commit, const char* utf8)
{
    if (!s_bTextInput) return false;
    s_TextEvents.push_back(cTextEvent{commit, ToCp932Dropping(utf8 ? utf8 : "")});
    return true;
}

bool TakeTextEvent(cTextEvent& event)
{
    if (s_TextEvents.empty()) return false;
    event = std::move(s_TextEvents.front());
    s_TextEvents.pop_front();
    return true;
}

}  // namespace plat
