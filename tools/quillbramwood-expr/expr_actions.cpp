#include "tools/quillbramwood-expr/expr_actions.h"

#include <cstdio>
#include <cstdlib>
#include <map>

#include "data/command_data.h"
#include "data/condition_data.h"
#include "flow/expression.h"
#include "flow/status_condition.h"
#include "flow/status_ops.h"
#include "platform/os/message_box.h"
#include "platform/os/messages.h"
#include "platform/os/random.h"
#include "platform/os/text.h"
#include "shell/error_box.h"
#include "shell/shared_flags.h"
#include "tools/quillbramwood-expr/expr_stage.h"

namespace {

constexpr int kStatusCommandKind = 22;
constexpr int kStatusConditionKind = 4;
constexpr int kStatusParams = 18;
constexpr unsigned int kMaxDraws = 1000000;

std::vector<std::string> s_Boxes;
HWND s_hWnd = nullptr;

bool AlwaysCapture() { return true; }

int CaptureBox(const char* text, const char* /*caption*/, UINT /*type*/)
{
    s_Boxes.push_back(plat::Cp932ToUtf8(text));
    return IDOK;
}

int StopRequests()
{
    int closes = 0;
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_CLOSE && msg.hwnd == s_hWnd) ++closes;
    return closes;
}

// The number of draws that lead the generator from `before` to `after`.
unsigned int DrawsBetween(unsigned int before, unsigned int after)
{
    unsigned int state = before;
    for (unsigned int n = 0; n < kMaxDraws; ++n) {
        if (state == after) return n;
        state = state * 214013u + 2531011u;
    }
    return kMaxDraws;
}

bool ParseInt(const std::string& text, int& value)
{
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0' || parsed < -2147483648LL || parsed > 4294967295LL) return false;
    value = static_cast<int>(static_cast<unsigned int>(parsed));
    return true;
}

bool ParseInts(const std::vector<std::string>& words, std::size_t from, std::vector<int>& values)
{
    for (std::size_t i = from; i < words.size(); ++i) {
        int value = 0;
        if (!ParseInt(words[i], value)) return false;
        values.push_back(value);
    }
    return true;
}

bool ParseHex(const std::string& hex, std::string& bytes)
{
    std::string digits;
    for (char c : hex)
        if (c != ' ') digits += c;
    if (digits.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        char* end = nullptr;
        const std::string pair = digits.substr(i, 2);
        const long value = std::strtol(pair.c_str(), &end, 16);
        if (*end != '\0') return false;
        bytes += static_cast<char>(value);
    }
    return true;
}

// The record fields of a status condition by name.
bool SetConditionField(cConditionData& c, const std::string& name, int v)
{
    if (name == "compare") c.m_nValueSource = static_cast<BYTE>(v);
    else if (name == "scope") c.m_nVariableScope = static_cast<BYTE>(v);
    else if (name == "holder") c.m_nHolder = static_cast<BYTE>(v);
    else if (name == "item") c.m_nItem = static_cast<BYTE>(v);
    else if (name == "var") c.m_nVariable = static_cast<std::int16_t>(v);
    else if (name == "osrc") c.m_nOperandSource = static_cast<BYTE>(v);
    else if (name == "operand") c.m_nOperand = v;
    else if (name == "rmin") c.m_nRandomMin = v;
    else if (name == "rmax") c.m_nRandomMax = v;
    else if (name == "oholder") c.m_nOperandHolder = static_cast<BYTE>(v);
    else if (name == "oitem") c.m_nOperandItem = static_cast<BYTE>(v);
    else if (name == "oscope") c.m_nOperandScope = static_cast<BYTE>(v);
    else if (name == "ovar") c.m_nOperandVariable = static_cast<std::int16_t>(v);
    else if (name == "op") c.m_nOperator = static_cast<std::int8_t>(v);
    else if (name == "percent") c.m_bPercent = static_cast<BYTE>(v);
    else return false;
    return true;
}

// The width argument of the arithmetic actions: 32 when absent.
bool Width(const std::vector<int>& args, std::size_t count, int& width)
{
    width = 32;
    if (args.size() == count + 1) width = args[count];
    return (args.size() == count || args.size() == count + 1) && (width == 8 || width == 16 || width == 32);
}

// The value of the action; `extra` gathers what it changed beyond the stage.
bool Perform(cExprStage& stage, const std::vector<std::string>& words, const std::string& rest, int& value,
             std::string& extra, std::string& error)
{
    const std::string& action = words[0];
    if (action == "code") {
        std::string code;
        if (!ParseHex(rest, code)) return error = "code: hex bytes expected", false;
        value = RunCode(code, stage.Running());
        return true;
    }
    if (action == "expr") {
        std::string text;
        if (!plat::Utf8ToCp932(rest, text)) return error = "expr: text without a CP932 form", false;
        g_bCodeError = 0;
        value = EvalExpression(text, stage.Running());
        return true;
    }
    if (action == "statuscond") {
        cConditionData condition;
        condition.m_nKind = kStatusConditionKind;
        for (std::size_t i = 1; i < words.size(); ++i) {
            const std::size_t eq = words[i].find('=');
            int v = 0;
            if (eq == std::string::npos || !ParseInt(words[i].substr(eq + 1), v) ||
                !SetConditionField(condition, words[i].substr(0, eq), v))
                return error = "statuscond: bad field " + words[i], false;
        }
        const int before = condition.m_nOperand;
        value = EvalStatusCondition(condition, stage.Running()) ? 1 : 0;
        if (condition.m_nOperand != before)
            extra = "cond.operand:" + std::to_string(before) + "->" + std::to_string(condition.m_nOperand);
        return true;
    }
    std::vector<int> args;
    if (!ParseInts(words, 1, args)) return error = action + ": numbers expected", false;
    int width = 32;
    if (action == "statusop") {
        if (args.size() != kStatusParams) return error = "statusop: 18 parameters expected", false;
        cCommandData command;
        command.m_nKind = kStatusCommandKind;
        command.m_Params.assign(args.begin(), args.end());
        value = ExecCmdStatusOperation(stage.Running(), command);
        return true;
    }
    if (action == "compare") {
        if (!Width(args, 3, width)) return error = "compare A B OP [WIDTH]", false;
        const bool result = (width == 8)    ? CompareByOperator8(args[0], args[1], args[2])
                            : (width == 16) ? CompareByOperator16(args[0], args[1], args[2])
                                            : CompareByOperator(args[0], args[1], args[2]);
        value = result ? 1 : 0;
        return true;
    }
    if (action == "percent") {
        if (!Width(args, 2, width)) return error = "percent A B [WIDTH]", false;
        value = (width == 8)    ? PercentRound8(args[0], args[1])
                : (width == 16) ? PercentRound16(args[0], args[1])
                                : PercentRound(args[0], args[1]);
        return true;
    }
    if (action == "apply") {
        if (!Width(args, 5, width)) return error = "apply V A OP LOW HIGH [WIDTH]", false;
        int before = 0;
        if (width == 8) {
            std::int8_t v = static_cast<std::int8_t>(args[0]);
            before = ApplyOperation8(v, args[1], args[2], args[3], args[4]);
            value = v;
        } else if (width == 16) {
            std::int16_t v = static_cast<std::int16_t>(args[0]);
            before = ApplyOperation16(v, args[1], args[2], args[3], args[4]);
            value = v;
        } else {
            int v = args[0];
            before = ApplyOperation(v, args[1], args[2], args[3], args[4]);
            value = v;
        }
        extra = "before:" + std::to_string(before);
        return true;
    }
    error = "unknown action " + action;
    return false;
}

}  // namespace

void StartCapture()
{
    SetFullScreenBox(AlwaysCapture, CaptureBox);
    s_hWnd = plat::CreateWindowHandle(DefWindowProcA);
    g_hWnd = s_hWnd;
}

bool RunAction(cExprStage& stage, const std::vector<std::string>& words, const std::string& rest, std::string& result,
               std::string& error)
{
    const auto before = stage.Snapshot();
    const unsigned int seedBefore = plat::RandomState();
    s_Boxes.clear();
    StopRequests();
    g_bCodeError = 0;
    int value = 0;
    std::string extra;
    if (!Perform(stage, words, rest, value, extra, error)) return false;
    const auto after = stage.Snapshot();
    const unsigned int seedAfter = plat::RandomState();

    std::string changed = extra;
    std::map<std::string, std::string> old(before.begin(), before.end());
    for (const auto& [name, text] : after) {
        const auto it = old.find(name);
        const std::string previous = (it == old.end()) ? "-" : it->second;
        if (previous == text) continue;
        if (!changed.empty()) changed += ' ';
        changed += name + ":" + previous + "->" + text;
    }
    std::string boxes;
    for (const std::string& box : s_Boxes) boxes += (boxes.empty() ? "\"" : " \"") + box + "\"";
    char tail[80];
    std::snprintf(tail, sizeof tail, " stop %d seed 0x%08x draws %u", StopRequests(), seedAfter,
                  DrawsBetween(seedBefore, seedAfter));
    result = "result " + std::to_string(value) + " error " + std::to_string(g_bCodeError) + " changed [" + changed +
             "] boxes [" + boxes + "]" + tail;
    return true;
}
