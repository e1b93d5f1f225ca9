#pragma once
// The values that status operations, status conditions and expressions work on: a chara's
// statuses (each a field of a given width), the five system values and the common and stage
// variables, with where each lives and what changing it also changes.
#include <cstdint>

class cChara;

// A signed field of 8, 16 or 32 bits; a null field reads 0 and ignores writes.
struct STATUSFIELD {
    void* lpField = nullptr;
    int nWidth = 32;

    // Sign-extended.
    int Read() const;
    // Cut to the width, two's complement.
    void Write(int value) const;
};

// The status list of the status command and condition.
enum STATUSINDEX : int {
    STATUS_VARIABLE = 0,   // a chara variable, by a separate index
    STATUS_HP,
    STATUS_SP,
    STATUS_MAXHP,
    STATUS_MAXSP,
    STATUS_CHARAID,
    STATUS_Z,
    STATUS_MARK,
    STATUS_SIGHT,          // half blocks; a hero's only
    STATUS_POWER,
    STATUS_IMPACT,
    STATUS_DEFENCE,
    STATUS_IMPACTRESIST,
    STATUS_STOP,
    STATUS_SCORE,
    kStatusCount
};

// The system list.
enum SYSTEMINDEX : int { SYSTEM_TIME = 0, SYSTEM_SCROLLX, SYSTEM_SCROLLY, SYSTEM_SCORE, SYSTEM_LIVES, kSystemCount };

// The field of status `status` of a chara (status 0: chara variable `variable`, through the
// checked access); a null field outside the list.
STATUSFIELD CharaStatusField(cChara& chara, int status, int variable);
// The width the status command works in and the status condition compares in.
int StatusWidth(int status);
// The clamp of the status command (HP and SP: 0 to 999999 before the chara's own change).
void StatusRange(int status, int& low, int& high);

// The field of a system value; null outside the list, and for the time without a stage.
int* SystemValueField(int index);
void SystemRange(int index, int& low, int& high);
bool LivesUnlimited();

// A status or system value as an operand. Object 2: system value `index` (the time reads 0
// without a time limit, the lives 0 while unlimited, another index 0); otherwise a status of
// `chara` (object 1: of its target; status 0 reads chara variable `variable`; another index 0).
// False when there is no target, or for the sight of a chara that is not a hero.
bool ReadStatusOperand(cChara& chara, int object, int index, int variable, int& value);

// Variable `index` of kind 0 (common) or 1 (stage), through the checked access; null for
// another kind, and for stage variables without a stage.
int* VariableField(int kind, int index);

// Only heroes have a sight.
bool IsHero(const cChara& chara);

// What follows a change of a status beyond the field itself.
// The sight in dots from the half blocks, and the darkness mask made again.
void AfterSightChange(cChara& chara);
// The deceleration from the ease of stopping, at the stage's sub-steps.
void AfterStopChange(cChara& chara);
// Axis 0 (horizontal) or 1 restarts its automatic scroll with the stage's switch and speed.
void AfterScrollSpeedChange(int axis);
// A chara other than the running one left at HP 0 or less asks the play frame to test HP.
void NoteHpChange(const cChara& changed, const cChara& running);
