#pragma once
// The arithmetic that status commands and flow conditions share: the comparison operators, the
// percent rule, the operations with their clamps at 8, 16 and 32 bits, and the status command
// itself. All of it in 32-bit two's complement that wraps, as replays need.
#include <cstdint>

class cChara;
class cCommandData;
class cConditionData;

// lo + r mod (hi - lo + 1) with r the next draw of rand, in wrapping 32-bit arithmetic and C's
// remainder. The draw is made whatever the bounds; a width that wraps to 0 takes r whole.
int RandomOperand(int lo, int hi);

// Stores low when value < low, high when value > high; returns the stored value.
int ClampValue(int& value, int low, int high);
std::int8_t ClampChar(std::int8_t& value, std::int8_t low, std::int8_t high);

// 0 =, 1 !=, 2 >=, 3 <=, 4 >, 5 <, 6 b is 0 or |a| a multiple of b, 7 b not 0 and |a| not a
// multiple of b; any other operator is false. The 8- and 16-bit forms cut both to that width.
bool CompareByOperator(int a, int b, int op);
bool CompareByOperator8(int a, int b, int op);
bool CompareByOperator16(int a, int b, int op);

// a * b percent: the wrapped product times 0.01, rounded half away from zero. The 8- and 16-bit
// forms take a at that width.
int PercentRound(int a, int b);
int PercentRound8(int a, int b);
int PercentRound16(int a, int b);

// Operations on v with operand a: 0 set, 1 add, 2 subtract, 3 multiply with saturation,
// 4 divide, 5 remainder (4 and 5 do nothing when a is 0), 6 percent; any other leaves v. Then v
// is clamped to low..high. Returns v before the clamp. The 8- and 16-bit forms cut a to the
// width and compute and store every result in it.
int ApplyOperation(int& v, int a, int op, int low, int high);
int ApplyOperation8(std::int8_t& v, int a, int op, int low, int high);
int ApplyOperation16(std::int16_t& v, int a, int op, int low, int high);

// The condition's operand, as a percentage of `base` clamped to low..high when its percent
// flag is set, compared with value by its operator at 32 or 16 bits.
bool ComparePercentInt(int value, int base, const cConditionData& condition, int low, int high);
bool ComparePercentShort(int value, int base, const cConditionData& condition, int low, int high);

// The status command: changes one variable, system value or status of `chara` or its target.
int ExecCmdStatusOperation(cChara& chara, cCommandData& command);
