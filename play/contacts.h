#pragma once
// Hits between the stage's objects and what follows them: shots and charas against charas,
// shots against shots, player 1 against items, and the defeats they cause. Each gives 0 when
// nothing decisive happened, 1 when the stage is cleared, 2 when the player is killed. A part
// of cPlayScene, which derives from it.
#include "shell/safe_container.h"

class cChara;
class cHero;

class cContacts {
public:
    int ProcessContacts();
    int TouchItems(cHero& player);
    // The end of a touch for the chara it hurt (when `hit`): invincibility from the attacker,
    // or its defeat when its HP is `gone`; 1 or 2 when that ends the contacts.
    int SettleTouch(bool hit, int gone, cChara& target, const cChara& attacker);
    int ResolveDefeat(cChara& chara);
    // 1 when the defeat cleared the stage, 2 when it counts as the player's death, 0 otherwise.
    int OnCharaDefeated(cChara& chara);
    // 1 when the frame must end.
    int CheckPlayerHp();

    // 1 for the sub-steps of a frame in which shots are tested against charas.
    cSafeVector<int> m_SubStepActive;
    // Set when a flow leaves a chara other than its own with no HP or makes it vanish: the
    // play frame then tests player 1's HP. Cleared at the start of each chara's update.
    int m_bStatusChanged = 0;
    // Defeats reported, counted for the harness and the tests.
    int m_nDefeatsReported = 0;
};
