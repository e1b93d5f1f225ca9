#pragma once
// An effect instance: the frame animation of an Effect database entry played at a stage
// position, placed by a flow command or by a hit. The stage's effect list owns them; until
// effects are built one holds nothing.
class cEffectInstance {};
