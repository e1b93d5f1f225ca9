#pragma once
// The stage's on-screen messages, in the order they were placed; the stage draw updates and
// draws each one over the stage every frame.
#include <list>

#include "objects/message.h"

class cMessageList {
public:
    void Clear() { m_Messages.clear(); }
    // Every message's frame over the stage, after the effects.
    void Draw();

    std::list<cMessage> m_Messages;
};
