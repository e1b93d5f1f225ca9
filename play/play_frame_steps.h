#pragma once
// The steps of one play frame that live beside the frame itself (play/play_frame.cpp): the
// player's part of a sub-step with its death tests, the killed-player handler, the shots and
// the removal of objects that left the area. Each that can end the frame returns true then.
class cChara;
class cHero;
class cPlayScene;

// Opposite contacts on both sides, left and right or up and down.
bool Squeezed(const cChara& chara);

// Every way player 1 dies ends here: sound 8 and its defeat, and the clear when the defeat
// clears the stage.
void KillPlayerOne(cPlayScene& scene, cHero& hero);
void ClearStage(cPlayScene& scene);
// A result of 1 clears the stage, 2 kills player 1; both end the frame.
bool TakeStageResult(cPlayScene& scene, cHero& hero, int result);
// Player 1's update, block effect, ride and moves with the death tests after them.
bool UpdatePlayerOne(cPlayScene& scene, cHero& hero);

// Every shot's update and moves, also while player 1 is dead; the area test in sub-step 1 only.
void MoveShots(cPlayScene& scene, int subStep);
// Charas and items outside the stage's out-of-range rules leave without dying.
void RemoveOutOfAreaObjects(cPlayScene& scene);
