#include "flow/key_conditions.h"

#include <algorithm>

#include "data/command_info.h"
#include "data/flow_data.h"
#include "data/role_accessors.h"
#include "objects/chara.h"
#include "shell/game_arithmetic.h"
#include "shell/input.h"

namespace {

constexpr int kOldestRun = INPUT_RING - 1;

// Run `run` of key `key`'s history in player 1's input.
const KEYSAMPLE& RunOf(int key, int run)
{
    const cInput& input = g_Input.At(0);
    const cSafeVector<KEYSAMPLE>& history =
        (key < INPUT_DIRECTION_LOGS) ? input.m_DirectionKeyLog.At(key) : input.m_ButtonKeyLog.At(key - INPUT_DIRECTION_LOGS);
    return history.At(run);
}

// Left and right swap, and so do the diagonals; up and down stay.
int MirroredKey(int key)
{
    switch (key) {
        case 1: return 2;
        case 2: return 1;
        case 5: return 7;
        case 7: return 5;
        case 6: return 8;
        case 8: return 6;
        default: return key;
    }
}

void MoveBack(KEYCURSOR& cursor, int key, int frames)
{
    cursor.nHeld = WrapSub(cursor.nHeld, frames);
    while (cursor.nHeld < 0 && cursor.nRun < kOldestRun) {
        ++cursor.nRun;
        cursor.nHeld = WrapAdd(cursor.nHeld, RunOf(key, cursor.nRun).nFrames);
    }
    // Held 0 is the last frame of the older run.
    if (cursor.nHeld == 0 && cursor.nRun < kOldestRun) {
        ++cursor.nRun;
        cursor.nHeld = RunOf(key, cursor.nRun).nFrames;
    }
}

// Forward in time: each run left behind takes its length off, so that held stays the time since
// the newer run began; the newest run is never left.
void MoveForward(KEYCURSOR& cursor, int key, int frames)
{
    cursor.nHeld = WrapAdd(cursor.nHeld, frames);
    while (cursor.nRun > 0 && cursor.nHeld > RunOf(key, cursor.nRun).nFrames) {
        cursor.nHeld = WrapSub(cursor.nHeld, RunOf(key, cursor.nRun).nFrames);
        --cursor.nRun;
    }
}

// Whether one key passes at its cursor; its held time goes to `held`.
bool KeyPasses(const cKeyConditionData& condition, int state, const KEYCURSOR& cursor, int key, int& held)
{
    const KEYSAMPLE& run = RunOf(key, cursor.nRun);
    held = cursor.nHeld;
    if (state == 1) {
        if (!run.nPressed) return false;
        if (condition.m_bAnyDuration) return held >= 1;
        return held >= condition.m_nMinFrames && held <= condition.m_nMaxFrames;
    }
    return state == 2 && !run.nPressed && held >= 1;
}

}  // namespace

void ResetKeyCursors(KEYCURSORS& cursors)
{
    for (int key = 0; key < cKeyConditionData::kKeys; ++key)
        cursors[static_cast<std::size_t>(key)] = {0, RunOf(key, 0).nFrames};
}

void UpdateKeyCounters(KEYCURSORS& cursors, int frames)
{
    for (int key = 0; key < cKeyConditionData::kKeys; ++key) {
        KEYCURSOR& cursor = cursors[static_cast<std::size_t>(key)];
        if (frames < 0) {
            MoveBack(cursor, key, WrapSub(0, frames));
        } else {
            MoveForward(cursor, key, frames);
        }
    }
}

bool TestKeyConditionKeys(const cKeyConditionData& condition, const KEYCURSORS& cursors, bool facingLeft,
                          int& duration)
{
    const bool mirror = condition.m_bFacingRelative == 1 && facingLeft;
    int passing = 0;
    int failing = 0;
    int shortest = 0;
    int longest = 0;
    for (int i = 0; i < cKeyConditionData::kKeys; ++i) {
        const int state = condition.KeyState(i);
        if (state == 0) continue;
        const int key = (mirror && i >= 1 && i <= 8) ? MirroredKey(i) : i;
        int held = 0;
        if (!KeyPasses(condition, state, cursors[static_cast<std::size_t>(key)], key, held)) {
            ++failing;
            continue;
        }
        shortest = (passing == 0) ? held : std::min(shortest, held);
        longest = (passing == 0) ? held : std::max(longest, held);
        ++passing;
    }
    switch (condition.m_nKeyRule) {
        case 0:
            duration = shortest;
            return failing == 0;
        case 1:
            duration = longest;
            return passing >= 1;
        case 2:
            duration = shortest;
            return passing == 1;
        default:
            return false;
    }
}

bool cChara::MatchKeyConditions(const cSafeVector<cKeyConditionData*>& keys, int tolerance)
{
    const int count = static_cast<int>(keys.size());
    if (count == 0) return true;
    const bool facingLeft = m_nDirection == 0;
    const auto matches = [&](int i, const KEYCURSORS& at, int& duration) {
        const cKeyConditionData* condition = keys.At(i);
        return condition && TestKeyConditionKeys(*condition, at, facingLeft, duration);
    };

    KEYCURSORS cursors;
    ResetKeyCursors(cursors);
    int duration = 0;
    if (!matches(count - 1, cursors, duration)) return false;
    for (int i = count - 1; i > 0; --i) {
        UpdateKeyCounters(cursors, WrapSub(0, duration));
        if (matches(i - 1, cursors, duration)) continue;
        if (tolerance == 0) return false;
        int back = 0;
        bool found = false;
        while (back < tolerance) {
            UpdateKeyCounters(cursors, -1);
            ++back;
            if (matches(i - 1, cursors, duration)) {
                found = true;
                break;
            }
        }
        if (found) continue;
        // One frame late: taken when the later condition does not also hold there, unless the
        // lenient switch takes it anyway.
        UpdateKeyCounters(cursors, back + 1);
        int earlier = 0;
        if (!matches(i - 1, cursors, earlier)) return false;
        int later = duration;
        if (!LenientKeySwitch() && matches(i, cursors, later)) return false;
        duration = earlier;
    }
    return true;
}

bool cChara::CheckKeyConditions(cRunningFlow& flow)
{
    if (flow.m_KeyConditions.empty() || !flow.m_lpFlow) return true;
    const cFlowData& record = *flow.m_lpFlow;
    const bool matched = MatchKeyConditions(flow.m_KeyConditions, static_cast<std::int8_t>(record.m_nKeySlack));
    if (record.m_bKeyRepeat) return matched;
    if (!matched) {
        flow.m_bKeyMatched = 0;
        return false;
    }
    if (flow.m_bKeyMatched) {
        // Still held since the flow last opened: the gate stays shut, and the flow's group
        // counts as busy for the rest of this update.
        const int group = flow.Group();
        if (record.m_nTrigger == TRIGGER_ALWAYS && group != 0) {
            m_GroupStarted.At(group) = 1;
            m_GroupEnded.At(group) = 1;
            m_bGroupEnded = 1;
        }
        return false;
    }
    flow.m_bKeyMatched = 1;
    return true;
}
