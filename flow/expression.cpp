#include "flow/expression.h"

#include <climits>
#include <cstdlib>
#include <vector>

#include "flow/status_ops.h"
#include "objects/chara.h"
#include "shell/error_box.h"
#include "shell/game_arithmetic.h"
#include "shell/log.h"
#include "shell/string_utils.h"

const char* const g_CodeFunctions[kCodeFunctionCount] = {"rand"};
const char* const g_CodeOperators[kCodeOperatorCount] = {"=", "+", "-", "*", "/", "%"};
const int g_CodePrecedence[kCodeOperatorCount] = {2, 1, 1, 0, 0, 0};
const char* const g_CodeObjects[kCodeObjectCount] = {"my", "tg", "pl", "sys"};
const char* const g_CodeVariables[kCodeVariableCount] = {"C", "S"};
const char* const g_CodeStatusNames[kCodeStatusCount] = {
    "v1", "v2", "v3", "v4", "v5", "v6", "v7", "v8", "hp", "sp", "mhp",
    "msp", "cid", "z", "mark", "sight", "power", "imp", "def", "impd", "stop", "getsc",
};
const char* const g_CodeSystemNames[kCodeSystemCount] = {"time", "scrlx", "scrly", "score", "life"};

int g_bCodeError = 0;

namespace {

constexpr std::size_t kNone = std::string::npos;
// The deepest nesting a text of 5119 bytes can hold. Texts are never cut, so a longer one could
// otherwise nest deep enough to exhaust the stack.
constexpr int kMaxNesting = 2560;

thread_local int t_nNesting = 0;

// Counts the nesting of EvalExpression calls on this thread.
class cNestingLevel {
public:
    cNestingLevel() { ++t_nNesting; }
    ~cNestingLevel() { --t_nNesting; }
    cNestingLevel(const cNestingLevel&) = delete;
    cNestingLevel& operator=(const cNestingLevel&) = delete;
};

// The ")" that closes a "(" whose inside starts at `from`, or kNone.
std::size_t FindPartner(const std::string& s, std::size_t from, std::size_t length)
{
    int level = 0;
    for (std::size_t p = from; p < length; ++p) {
        if (s[p] == '(') {
            ++level;
        } else if (s[p] == ')') {
            if (level == 0) return p;
            --level;
        }
    }
    return kNone;
}

}  // namespace

int CodeAtoi(const char* text)
{
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > 2147483648LL) value = 2147483648LL;  // enough to saturate either way
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

int RunCode(const std::string& code, cChara& chara)
{
    g_bCodeError = 0;
    const int hp = chara.m_nHp;
    const int sp = chara.m_nSp;
    EvalExpression(code, chara);
    if (g_bCodeError != 0) return 0;
    if (chara.m_nHp != hp) chara.ShowHpGauge(WrapSub(chara.m_nHp, hp));
    if (chara.m_nSp != sp) chara.ShowSpGauge(WrapSub(chara.m_nSp, sp));
    return 1;
}

int EvalExpression(const std::string& text, cChara& chara)
{
    const cNestingLevel nesting;
    if (t_nNesting > kMaxNesting) {
        ReportLog("code nested deeper than %d levels", kMaxNesting);
        return CodeFailure();
    }
    std::string s = text;
    std::size_t tokenStart = 0;
    std::size_t g = 0;
    for (;;) {
        const std::size_t length = static_cast<std::size_t>(SyncStringLength(s));
        if (g >= length) return EvalFlatExpression(s, chara);
        if (s[g] == ' ') {
            tokenStart = g + 1;
            ++g;
            continue;
        }
        if (s[g] != '(') {
            ++g;
            continue;
        }
        const std::size_t partner = FindPartner(s, g + 1, length);
        if (partner == kNone) {
            ErrorBoxF("\")\"が見つかりません！");
            return CodeFailure();
        }
        if (g == tokenStart) {
            // An error inside the group leaves 0 in its place and the flag set.
            const int value = EvalExpression(s.substr(g + 1, partner - g - 1), chara);
            s = s.substr(0, tokenStart) + std::to_string(value) + s.substr(partner + 1);
            g = tokenStart;
            continue;
        }
        // Only a call that begins its token is one: in 2*rand(1,6) the "(" stays, and the
        // token reads as the number 2.
        const std::string name = s.substr(tokenStart, g - tokenStart);
        if (name != g_CodeFunctions[0]) {
            ++g;
            continue;
        }
        std::vector<int> args;
        std::string arg;
        int level = 0;
        std::size_t close = kNone;
        for (std::size_t p = g + 1; p < length && close == kNone; ++p) {
            const char c = s[p];
            if ((c == ',' || c == ')') && level == 0) {
                if (!arg.empty()) args.push_back(EvalExpression(arg, chara));
                arg.clear();
                if (c == ')') close = p;
                continue;
            }
            if (c == '(') ++level;
            if (c == ')') --level;
            arg += c;
        }
        if (close == kNone) {
            ErrorBoxF("関数 %s で\")\"が見つかりません！", name.c_str());
            return CodeFailure();
        }
        if (args.size() != 2) {
            ErrorBoxF("関数 %s の引数が不正です！", name.c_str());
            return CodeFailure();
        }
        const int lo = (args[0] < args[1]) ? args[0] : args[1];
        const int hi = (args[0] < args[1]) ? args[1] : args[0];
        const int value = RandomOperand(lo, hi);
        s = s.substr(0, tokenStart) + std::to_string(value) + s.substr(close + 1);
        g = tokenStart;
    }
}
