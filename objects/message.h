#pragma once
// An on-screen message: a text box or an icon shown over the stage, or the invisible timed
// message a flow's wait counts frames with. The stage's message list owns them; until messages
// are built one holds nothing.
class cMessage {};
