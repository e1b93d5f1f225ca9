#pragma once
// The hooks through which a lower layer reaches a higher one (the shell's frame pacing, error
// boxes and display report reach the graphics layer; the fonts' part of a device restore; the
// stage palette the templates inherit from; a block's picture; the scene factory), all
// registered here, once, before anything uses them: by the game's start-up, and by every test
// binary, tool and benchmark from its main. A hook that lives only as long as a scene is set
// and cleared by that scene instead.
void RegisterProgramHooks();
