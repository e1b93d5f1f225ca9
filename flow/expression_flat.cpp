// The flat expression: tokens split at spaces, each resolved to a number or a place, then the
// operators reduced in three passes of precedence, left to right within a pass.
#include <cstring>

#include "data/save_data.h"
#include "flow/expression.h"
#include "flow/status_ops.h"
#include "flow/status_values.h"
#include "objects/chara.h"
#include "play/play_scene.h"
#include "shell/error_box.h"
#include "shell/game_arithmetic.h"
#include "shell/safe_container.h"

namespace {

constexpr int kObjectMy = 0;
constexpr int kObjectTarget = 1;
constexpr int kObjectPlayer = 2;
constexpr int kOperatorAssign = 0;
// Status names from "hp" on follow the status list from its HP on.
constexpr int kNameHp = 8;
constexpr int kNameSp = 9;
constexpr int kNameMaxHp = 10;
constexpr int kNameMaxSp = 11;
constexpr int kNameSight = 15;
constexpr int kNameStop = 20;

template <int N>
int FindName(const char* const (&names)[N], const std::string& word)
{
    for (int i = 0; i < N; ++i)
        if (word == names[i]) return i;
    return -1;
}

void MakeStatusToken(CODETOKEN& token, cChara& owner, int name)
{
    token.nKind = TOKEN_STATUS;
    token.nStatus = name;
    token.lpObject = &owner;
    const int status = (name < kNameHp) ? STATUS_VARIABLE : name - (kNameHp - STATUS_HP);
    const STATUSFIELD field = CharaStatusField(owner, status, name + 1);
    token.lpTarget = field.lpField;
    token.nWidth = field.nWidth;
    token.nValue = field.Read();
    StatusRange(status, token.nMin, token.nMax);
    if (name == kNameHp) token.nMax = owner.m_Def.m_nMaxHp;
    if (name == kNameSp) token.nMax = owner.m_Def.m_nMaxSp;
    if (name == kNameMaxHp || name == kNameMaxSp) token.nMin = 1;
}

void MakeSystemToken(CODETOKEN& token, int index)
{
    token.nKind = TOKEN_SYSTEM;
    token.nSystem = index;
    int* field = SystemValueField(index);
    token.lpTarget = field;
    SystemRange(index, token.nMin, token.nMax);
    if (index == SYSTEM_LIVES && LivesUnlimited()) {
        // Reads 0, and an assignment keeps the lives unlimited.
        token.nMin = token.nMax = kUnlimitedLives;
        return;
    }
    token.nValue = field ? *field : 0;
}

// Resolves a completed word with the object its prefix named: false when the evaluation must
// end (no target or no player 1 for its prefix, a status with no chara to read).
bool MakeToken(const std::string& word, int object, cChara& chara, cSafeVector<CODETOKEN>& tokens)
{
    CODETOKEN token;
    const int op = FindName(g_CodeOperators, word);
    if (op >= 0) {
        token.nKind = TOKEN_OPERATOR;
        token.nOperator = op;
        tokens.push_back(token);
        return true;
    }
    cChara* owner = nullptr;  // "sys" names no chara
    switch (object) {
    case kObjectMy: owner = &chara; break;
    case kObjectTarget: owner = chara.m_lpTarget; break;
    case kObjectPlayer: owner = PlayerOne(); break;
    default: break;
    }
    if (!owner && (object == kObjectTarget || object == kObjectPlayer)) return false;

    if (word[0] == g_CodeVariables[0][0] || word[0] == g_CodeVariables[1][0]) {
        token.nKind = TOKEN_VARIABLE;
        int* field = VariableField(word[0] == g_CodeVariables[0][0] ? 0 : 1, CodeAtoi(word.c_str() + 1));
        token.lpTarget = field;
        token.nValue = field ? *field : 0;
    } else if (const int name = FindName(g_CodeStatusNames, word); name >= 0) {
        if (!owner) return false;
        MakeStatusToken(token, *owner, name);
    } else if (const int system = FindName(g_CodeSystemNames, word); system >= 0) {
        MakeSystemToken(token, system);
    } else {
        token.nValue = CodeAtoi(word.c_str());
    }
    tokens.push_back(token);
    return true;
}

// "=": the right value clamped to the left operand's range, written into its place; a left
// operand without a place (a number) takes nothing.
int Assign(const CODETOKEN& left, int right, const cChara& running)
{
    int value = right;
    ClampValue(value, left.nMin, left.nMax);
    if (!left.lpTarget) return value;
    STATUSFIELD{left.lpTarget, left.nWidth}.Write(value);
    if (left.nKind == TOKEN_STATUS && left.lpObject) {
        cChara& owner = *left.lpObject;
        switch (left.nStatus) {
        case kNameHp: NoteHpChange(owner, running); break;
        // The current value keeps at least 1 under a new maximum.
        case kNameMaxHp: ClampValue(owner.m_nHp, 1, owner.m_Def.m_nMaxHp); break;
        case kNameMaxSp: ClampValue(owner.m_nSp, 1, owner.m_Def.m_nMaxSp); break;
        case kNameSight:
            if (IsHero(owner)) AfterSightChange(owner);
            break;
        case kNameStop: AfterStopChange(owner); break;
        default: break;
        }
    }
    if (left.nKind == TOKEN_SYSTEM && left.nSystem == SYSTEM_SCROLLX) AfterScrollSpeedChange(0);
    if (left.nKind == TOKEN_SYSTEM && left.nSystem == SYSTEM_SCROLLY) AfterScrollSpeedChange(1);
    return value;
}

}  // namespace

int EvalFlatExpression(const std::string& text, cChara& chara)
{
    cSafeVector<CODETOKEN> tokens;
    const std::size_t length = std::strlen(text.c_str());
    std::string word;
    int object = kObjectMy;
    int completed = 0;
    bool prefixed = false;
    // The final NUL ends the last token.
    for (std::size_t p = 0; p <= length; ++p) {
        const char c = text[p];
        if (c == ' ' || c == '\0') {
            if (word.empty()) continue;
            if (!MakeToken(word, object, chara, tokens)) return CodeFailure();
            word.clear();
            object = kObjectMy;
            prefixed = false;
            ++completed;
            continue;
        }
        if (c == '.') {
            const int index = FindName(g_CodeObjects, word);
            if (index >= 0) {
                object = index;
            } else if (completed == 0 || prefixed) {
                // A later unknown prefix is passed over: the operand then means the running chara.
                ErrorBoxF("オブジェクト \"%s.\" が認識できません！", word.c_str());
                return CodeFailure();
            }
            prefixed = true;
            word.clear();
            continue;
        }
        word += c;
    }

    int result = 0;
    bool reduced = false;
    for (int level = 0; level <= 2; ++level) {
        for (;;) {
            std::size_t i = 0;
            while (i < tokens.size() && !(tokens[i].nKind == TOKEN_OPERATOR && g_CodePrecedence[tokens[i].nOperator] == level)) ++i;
            if (i == tokens.size()) break;
            // An operator needs an operand on both sides.
            if (i == 0 || i + 1 >= tokens.size() || tokens[i - 1].nKind == TOKEN_OPERATOR ||
                tokens[i + 1].nKind == TOKEN_OPERATOR)
                return CodeFailure();
            const CODETOKEN& left = tokens[i - 1];
            const int l = left.nValue;
            const int r = tokens[i + 1].nValue;
            int value = 0;
            switch (tokens[i].nOperator) {
            case kOperatorAssign: value = Assign(left, r, chara); break;
            case 1: value = WrapAdd(l, r); break;
            case 2: value = WrapSub(l, r); break;
            case 3: value = WrapMul(l, r); break;
            default:
                if (r == 0) {
                    ErrorBoxF("0除算が行われました！(%s)", text.c_str());
                    return CodeFailure();
                }
                value = (tokens[i].nOperator == 4) ? WrapDiv(l, r) : WrapMod(l, r);
                break;
            }
            CODETOKEN number;
            number.nValue = value;
            tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i - 1), tokens.begin() + static_cast<std::ptrdiff_t>(i + 2));
            tokens.insert(tokens.begin() + static_cast<std::ptrdiff_t>(i - 1), number);
            result = value;
            reduced = true;
        }
    }
    if (reduced) return result;
    return tokens.empty() ? 0 : tokens.back().nValue;
}
