#pragma once
// The extra-life message that the tally shows through the stage's modal loop.
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
// The program is closing: no modal loop may start.
bool ClearClosing(const cPlayScene& scene);
