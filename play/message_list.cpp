#include "play/message_list.h"

#include "graphics/stage_picture_surfaces.h"
#include "graphics/surface.h"

void cMessageList::Draw(DDSURFACEDATA* target, int paused)
{
    for (auto it = m_Messages.begin(); it != m_Messages.end();) {
        if (it->Update(target, paused) && &*it != m_lpHeld) it = m_Messages.erase(it);
        else ++it;
    }
}

void cMessageList::ClearMessageSurfaces()
{
    DDReleaseSurfaceList(&Off_Msg);
    Off_Msg.clear();
    Off_MsgInfo.clear();
    // The messages' records are gone with the list.
    for (cMessage& message : m_Messages) {
        message.m_lpSurface = nullptr;
        message.m_lpSurfaceInfo = nullptr;
    }
}
