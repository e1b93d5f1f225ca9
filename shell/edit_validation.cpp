// The live validation of an edit control: the text must fit its lines and characters per line.
// A change that does not fit is refused (the last accepted text comes back, with the caret or
// selection where it was before the change); a value the program writes is cut instead.
#include <algorithm>
#include <tuple>
#include <utility>

#include "platform/input/keyboard.h"
#include "platform/os/text.h"
#include "shell/dialog_controls.h"
#include "shell/string_utils.h"

namespace {

int LineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1; }

// Characters with the double-byte flag (a lead and a trail byte are one, "\n" counts nothing),
// bytes otherwise.
int TextLength(const std::string& text, bool doubleByte)
{
    if (!doubleByte) return static_cast<int>(text.size());
    int count = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = plat::Cp932CharLength(text, i);
        if (text[i] != '\n') ++count;
        i += n;
    }
    return count;
}

void MoveIfAtOrBehind(int& position, int at, int by)
{
    if (position >= at) position += by;
}

// The selection that a change from the text before to the text after replaced, given the caret
// after it: the text behind the caret was behind the selection's end before, and the text the
// two share from the start (up to a whole character) was before its start.
std::pair<int, int> ReplacedSelection(const std::string& before, const std::string& after, int caretAfter)
{
    const std::size_t caret = std::min<std::size_t>(static_cast<std::size_t>(std::max(caretAfter, 0)), after.size());
    const std::size_t behind = after.size() - caret;
    const std::size_t end = behind <= before.size() ? before.size() - behind : 0;
    std::size_t shared = 0;
    while (shared < before.size() && shared < after.size() && before[shared] == after[shared]) ++shared;
    const std::size_t limit = std::min(shared, end);
    std::size_t start = 0;
    while (start < limit) {
        const std::size_t n = plat::Cp932CharLength(before, start);
        if (start + n > limit) break;
        start += n;
    }
    return {static_cast<int>(start), static_cast<int>(end)};
}

}  // namespace

void cEditControl::OnChange()
{
    if (m_bInChange) return;
    m_bInChange = 1;
    std::string text;
    GetDlgItemString(m_hDialog, m_wId, text, ReadLimit());
    const std::string changed = text;
    DWORD readStart = 0, readEnd = 0;
    SendMessageA(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&readStart), reinterpret_cast<LPARAM>(&readEnd));
    int selStart = static_cast<int>(readStart), selEnd = static_cast<int>(readEnd);
    const bool doubleByte = m_bDoubleByte != 0;
    const int perLine = m_nCharsPerLine;

    auto accept = [&] {
        SetDlgItemString(m_hDialog, m_wId, text);
        if (!m_bProgramWrite) SendMessageA(m_hWnd, EM_SETSEL, static_cast<WPARAM>(selStart), static_cast<LPARAM>(selEnd));
        m_strLastText = text;
        m_bInChange = 0;
    };
    if (m_nLines <= 0 && perLine <= 0) return accept();

    // Backspace at the start of a line whose line above is already full would join them into
    // one that is too long: the line break stays.
    if ((GetAsyncKeyState(VK_BACK) & 0x8000) && selStart == selEnd &&
        text.size() + 2 == m_strLastText.size() && LineCount(text) < LineCount(m_strLastText)) {
        const std::size_t caret = std::min<std::size_t>(static_cast<std::size_t>(selStart), text.size());
        const std::size_t lineBreak = text.rfind('\n', caret == 0 ? 0 : caret - 1);
        const std::size_t lineStart = lineBreak == std::string::npos || caret == 0 ? 0 : lineBreak + 1;
        if (TextLength(text.substr(lineStart, caret - lineStart), doubleByte) >= perLine) {
            text = m_strLastText;
            return accept();
        }
    }

    // Wrapping: a line that is too long is broken after the part that fits.
    std::size_t lineStart = 0;
    for (int line = 0; line < m_nLines; ++line) {
        std::size_t lineEnd = text.find("\r\n", lineStart);
        if (lineEnd == std::string::npos) lineEnd = text.size();
        const std::string whole = text.substr(lineStart, lineEnd - lineStart);
        if (TextLength(whole, doubleByte) > perLine) {
            std::string fits = whole;
            const int maxDrops = doubleByte ? 2 * perLine : perLine;
            for (int drops = 0; drops < maxDrops && TextLength(fits, doubleByte) > perLine; ++drops)
                fits = StringMid(fits, 0, SyncStringLength(fits) - 1);
            const std::size_t at = lineStart + fits.size();
            text.insert(at, "\r\n");
            MoveIfAtOrBehind(selStart, static_cast<int>(at), 2);
            MoveIfAtOrBehind(selEnd, static_cast<int>(at), 2);
            // The moved-down part runs on into the next line.
            const std::size_t movedEnd = at + 2 + (whole.size() - fits.size());
            if (text.compare(movedEnd, 2, "\r\n") == 0) {
                text.erase(movedEnd, 2);
                if (selStart > static_cast<int>(movedEnd)) selStart -= 2;
                if (selEnd > static_cast<int>(movedEnd)) selEnd -= 2;
            }
        }
        const std::size_t next = text.find("\r\n", lineStart);
        if (next == std::string::npos) break;
        lineStart = next + 2;
    }

    if (LineCount(text) > m_nLines) {
        if (m_bProgramWrite) {
            std::string cut = m_strLastText;
            while (!cut.empty() && TextLength(cut, doubleByte) > perLine) cut.pop_back();
            text = cut;
        } else {
            // Refused: the caret, or the selection the change replaced, stays where it was
            // (the last accepted selection may be far from it: keys move the caret unseen).
            std::tie(selStart, selEnd) = ReplacedSelection(m_strLastText, changed, static_cast<int>(readEnd));
            text = m_strLastText;
        }
    }
    // A selection end may not stand between the two bytes of a line break, nor beyond the text.
    for (int* position : {&selStart, &selEnd}) {
        if (*position > 0 && *position < static_cast<int>(text.size()) && text[static_cast<std::size_t>(*position)] == '\n' &&
            text[static_cast<std::size_t>(*position - 1)] == '\r')
            ++*position;
        if (*position > static_cast<int>(text.size())) *position = static_cast<int>(text.size());
    }
    accept();
}
