#pragma once
// Under Direct3D the mirror entries of the standard surfaces show another record's picture:
// start-up links each to its source once the device is up.

// Sets lpMirrorSD of every mirror entry of g_StdSurface to the record whose picture it shows.
void LinkStandardMirrors();
