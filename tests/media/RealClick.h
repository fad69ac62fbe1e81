#pragma once

// Moves the X pointer to a screen position and clicks there through XTest, as a user would:
// the click lands in whatever window the X server finds under the pointer.
bool SendRealClick(int x, int y, unsigned button);
