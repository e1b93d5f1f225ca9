#pragma once
// The code command's expression language: 32-bit integer arithmetic over the common and stage
// variables, chara statuses and five stage values, with parentheses, the function rand and
// assignments that clamp. Evaluation first rewrites every group and call that begins a token
// into its decimal value, then reduces the flat text token by token.
#include <string>

class cChara;

enum CODETOKENKIND : int { TOKEN_NUMBER = 0, TOKEN_VARIABLE, TOKEN_STATUS, TOKEN_SYSTEM, TOKEN_OPERATOR };

// One token of a flat expression.
struct CODETOKEN {
    int nKind = TOKEN_NUMBER;
    int nValue = 0;              // the operand's value when the token was made
    void* lpTarget = nullptr;    // where the operand lives; none for numbers
    int nWidth = 32;             // of the target
    int nOperator = 0;           // index in g_CodeOperators
    int nMin = -999999;          // the clamp of an assignment to the target
    int nMax = 999999;
    int nStatus = 0;             // index in g_CodeStatusNames
    int nSystem = 0;             // index in g_CodeSystemNames
    cChara* lpObject = nullptr;  // the chara that owns a status
};

constexpr int kCodeFunctionCount = 1;
constexpr int kCodeOperatorCount = 6;
constexpr int kCodeObjectCount = 4;
constexpr int kCodeVariableCount = 2;
constexpr int kCodeStatusCount = 22;
constexpr int kCodeSystemCount = 5;
extern const char* const g_CodeFunctions[kCodeFunctionCount];
extern const char* const g_CodeOperators[kCodeOperatorCount];
extern const int g_CodePrecedence[kCodeOperatorCount];   // level 0 is reduced first
extern const char* const g_CodeObjects[kCodeObjectCount];
extern const char* const g_CodeVariables[kCodeVariableCount];
extern const char* const g_CodeStatusNames[kCodeStatusCount];
extern const char* const g_CodeSystemNames[kCodeSystemCount];

// Set by every error of an evaluation; RunCode clears it first.
extern int g_bCodeError;
// Marks the evaluation as failed; the value of a failed step, 0.
inline int CodeFailure()
{
    g_bCodeError = 1;
    return 0;
}

// Evaluates a code text for `chara` and shows its HP and SP gauges for what changed: 1, or 0
// after an error.
int RunCode(const std::string& code, cChara& chara);
// The value of an expression; 0 after an error (which an enclosing expression survives).
int EvalExpression(const std::string& text, cChara& chara);
// The value of a text without groups and calls.
int EvalFlatExpression(const std::string& text, cChara& chara);
// The decimal conversion of the language: optional sign, leading digits, 0 without any;
// values beyond the 32-bit range saturate.
int CodeAtoi(const char* text);
