#pragma once
// Watching the flow triggers raised on charas, in the order they are raised: the hits, touches
// and defeats tell what happened through them. Tests set an observer; play sets none.
class cChara;

using TRIGGEROBSERVER = void (*)(const cChara& chara, int trigger);
// Null stops watching.
void SetTriggerObserver(TRIGGEROBSERVER observer);
