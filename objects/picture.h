#pragma once
// A picture shown over the stage: a whole image file at a stage or screen position, for a time
// or until removed. The stage's picture list owns them; until pictures are built one holds
// nothing.
class cPicture {};
