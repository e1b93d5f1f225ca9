#pragma once
// What the clear sequence shows through the stage's modal loops: the extra-life message of the
// tally and the ranking display after the name entry.
#include <cstdint>
#include <list>

#include "objects/message.h"

class cPlayScene;

// The node of a message in the stage's list, kept as a number: the list may have let the node
// go (an ended message leaves it) by the time it is looked for.
using MESSAGENODE = std::uintptr_t;

// Appends the extra-life message over player 1 to the list; the node it took.
MESSAGENODE ShowExtraLifeMessage(std::list<cMessage>& messages);
// Erases that node when the list still holds it: never another message, never from an empty list.
void RemoveExtraLifeMessage(std::list<cMessage>& messages, MESSAGENODE node);
// The tally's wait while the extra-life message shows (the stage's modal loop, as m_Wait says).
void RunExtraLifeWait(cPlayScene& scene);
// The ranking display with the new entries marked, until the player leaves it.
void ShowRankingDisplay(cPlayScene& scene);

// The loops above; a test puts its own in place, null puts the stage's loops back.
struct CLEARLOOPS {
    void (*extraLifeWait)(cPlayScene& scene);
    void (*rankingDisplay)(cPlayScene& scene);
};
void SetClearLoops(const CLEARLOOPS* loops);
// The program is closing: no modal loop may start.
bool ClearClosing(const cPlayScene& scene);
