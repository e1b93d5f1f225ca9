#pragma once
// The stage's on-screen messages, in the order they were placed; the stage draw updates and
// draws each one over the stage every frame.
#include <list>

#include "objects/message.h"

struct DDSURFACEDATA;

class cMessageList {
public:
    void Clear()
    {
        m_Messages.clear();
        m_lpHeld = nullptr;
    }
    // Every message's frame over the stage, after the effects; a message that has ended leaves
    // the list, unless a command is holding it.
    void Draw(DDSURFACEDATA* target, int paused);
    // Every surface of Off_Msg released and the list and its info list emptied, at a stage's
    // set-up: no message of the stage before is left to draw into them.
    void ClearMessageSurfaces();

    std::list<cMessage> m_Messages;
    // The message a waiting command placed: it stays in the list until that command takes it
    // out, however its frames end.
    const cMessage* m_lpHeld = nullptr;
};
