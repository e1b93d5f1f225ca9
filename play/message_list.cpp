#include "play/message_list.h"

#include "shell/not_built_yet.h"

void cMessageList::Draw()
{
    if (!m_Messages.empty()) LogNotBuiltYet("on-screen messages");
}
