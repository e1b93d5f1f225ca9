#include "platform/harness/harness_script.h"

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/input/keyboard.h"
#include "platform/os/message_box.h"
#include "platform/ui/dialog_box.h"

namespace {

std::atomic<plat::cHarnessScript*> s_Active{nullptr};

struct cNamedKey { const char* name; int key; };

constexpr cNamedKey kNamedKeys[] = {
    {"LEFT", VK_LEFT}, {"UP", VK_UP}, {"RIGHT", VK_RIGHT}, {"DOWN", VK_DOWN},
    {"SPACE", VK_SPACE}, {"RETURN", VK_RETURN}, {"ENTER", VK_RETURN},
    {"ESCAPE", VK_ESCAPE}, {"ESC", VK_ESCAPE}, {"SHIFT", VK_SHIFT},
    {"CONTROL", VK_CONTROL}, {"CTRL", VK_CONTROL}, {"ALT", VK_MENU},
    {"TAB", VK_TAB}, {"BACK", VK_BACK}, {"DELETE", VK_DELETE},
};

std::string Upper(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// A whole non-negative number, decimal or 0x hex.
bool ParseNumber(const std::string& word, long& value)
{
    if (word.empty()) return false;
    char* end = nullptr;
    value = std::strtol(word.c_str(), &end, 0);
    return end && *end == '\0' && value >= 0;
}

bool ParseFrame(const std::string& word, int& frame)
{
    long value = 0;
    if (!ParseNumber(word, value) || value < 1 || value > 100000000) return false;
    frame = static_cast<int>(value);
    return true;
}

int BoxAnswerFromScript(UINT, const char*)
{
    plat::cHarnessScript* script = s_Active.load();
    return script ? script->TakeBoxAnswer() : 0;
}

}  // namespace

namespace plat {

int HarnessKeyFromName(const std::string& name)
{
    long number = 0;
    if (!name.empty() && std::isdigit(static_cast<unsigned char>(name[0])) && name.size() > 1 &&
        ParseNumber(name, number))
        return number >= 1 && number <= 255 ? static_cast<int>(number) : 0;
    const std::string upper = Upper(name);
    if (upper.size() == 1 && (std::isupper(static_cast<unsigned char>(upper[0])) ||
                              std::isdigit(static_cast<unsigned char>(upper[0]))))
        return upper[0];
    if (upper.size() >= 2 && upper[0] == 'F' && ParseNumber(upper.substr(1), number) && number >= 1 && number <= 12)
        return 0x70 + static_cast<int>(number) - 1;
    for (const auto& k : kNamedKeys)
        if (upper == k.name) return k.key;
    return 0;
}

bool cHarnessScript::Parse(const std::string& text, std::string& error)
{
    bool virtualClock = false;
    std::optional<bool> ecLog;
    int closeFrame = 0;
    std::map<int, std::vector<int>> keys;
    std::multimap<int, std::string> dumps;
    std::string trace;
    std::deque<int> boxes;
    std::deque<std::string> dialogs;

    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t hash = line.find('#');
        const std::string body = hash == std::string::npos ? line : line.substr(0, hash);
        std::istringstream words(body);
        std::string command;
        if (!(words >> command)) continue;
        std::vector<std::string> args;
        for (std::string word; words >> word;) args.push_back(word);
        auto fail = [&](const std::string& what) {
            error = "line " + std::to_string(number) + ": " + what;
            return false;
        };

        if (command == "clock") {
            if (args.size() != 1 || args[0] != "virtual") return fail("clock takes the word virtual");
            virtualClock = true;
        } else if (command == "eclog") {
            if (args.size() != 1 || (args[0] != "on" && args[0] != "off")) return fail("eclog takes on or off");
            ecLog = args[0] == "on";
        } else if (command == "box") {
            const std::string answer = args.size() == 1 ? Upper(args[0]) : "";
            if (answer == "YES") boxes.push_back(IDYES);
            else if (answer == "NO") boxes.push_back(IDNO);
            else if (answer == "OK") boxes.push_back(IDOK);
            else return fail("box takes yes, no or ok");
        } else if (command == "dialog") {
            // The answer is the rest of the line as written, inner blanks included.
            const std::size_t start = body.find_first_not_of(" \t", body.find("dialog") + 6);
            std::string answer = start == std::string::npos ? "" : body.substr(start);
            while (!answer.empty() && (answer.back() == ' ' || answer.back() == '\t')) answer.pop_back();
            dialogs.push_back(answer);
        } else if (command == "keys") {
            int frame = 0;
            if (args.empty() || !ParseFrame(args[0], frame)) return fail("keys needs a frame number from 1");
            std::vector<int> held;
            for (std::size_t i = 1; i < args.size(); ++i) {
                const int key = HarnessKeyFromName(args[i]);
                if (!key) return fail("unknown key " + args[i]);
                held.push_back(key);
            }
            keys[frame] = held;
        } else if (command == "close") {
            if (args.size() != 1 || !ParseFrame(args[0], closeFrame)) return fail("close needs a frame number from 1");
        } else if (command == "dump") {
            int frame = 0;
            if (args.size() != 2 || !ParseFrame(args[0], frame)) return fail("dump needs a frame number and a file");
            dumps.emplace(frame, args[1]);
        } else if (command == "trace") {
            if (args.size() != 1) return fail("trace needs a file");
            trace = args[0];
        } else {
            return fail("unknown command " + command);
        }
    }

    m_bVirtualClock = virtualClock;
    m_EcLog = ecLog;
    m_nCloseFrame = closeFrame;
    m_Keys = std::move(keys);
    m_Dumps = std::move(dumps);
    m_strTrace = std::move(trace);
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_BoxAnswers = std::move(boxes);
    m_DialogAnswers = std::move(dialogs);
    return true;
}

bool cHarnessScript::Load(const std::string& pathUtf8, std::string& error)
{
    std::ifstream file(pathUtf8, std::ios::binary);
    if (!file) {
        error = "cannot open " + pathUtf8;
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (!Parse(text.str(), error)) {
        error = pathUtf8 + ": " + error;
        return false;
    }
    return true;
}

const std::vector<int>* cHarnessScript::KeysFrom(int frame) const
{
    auto it = m_Keys.find(frame);
    return it == m_Keys.end() ? nullptr : &it->second;
}

std::vector<std::string> cHarnessScript::DumpsAt(int frame) const
{
    std::vector<std::string> files;
    auto range = m_Dumps.equal_range(frame);
    for (auto it = range.first; it != range.second; ++it) files.push_back(it->second);
    return files;
}

int cHarnessScript::TakeBoxAnswer()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (m_BoxAnswers.empty()) return 0;
    const int answer = m_BoxAnswers.front();
    m_BoxAnswers.pop_front();
    return answer;
}

bool cHarnessScript::TakeDialogAnswer(std::string& answerUtf8)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (m_DialogAnswers.empty()) return false;
    answerUtf8 = m_DialogAnswers.front();
    m_DialogAnswers.pop_front();
    return true;
}

namespace {

bool DialogAnswerFromScript(std::string& answerUtf8)
{
    cHarnessScript* script = s_Active.load();
    return script && script->TakeDialogAnswer(answerUtf8);
}

}  // namespace

void SetActiveHarness(cHarnessScript* script)
{
    s_Active.store(script);
    SetBoxAnswerSource(script ? BoxAnswerFromScript : nullptr);
    SetDialogAnswerSource(script ? DialogAnswerFromScript : nullptr);
}

cHarnessScript* ActiveHarness() { return s_Active.load(); }

}  // namespace plat
