#pragma once
// The status condition of a flow: compares a variable, a system value or a status of the
// running chara or its target with an operand.

class cChara;
class cConditionData;

// True when the condition holds for `chara`. The operand it computed (a random one among them)
// is kept in the condition's operand field.
bool EvalStatusCondition(cConditionData& condition, cChara& chara);
