// Wheels and precision touchpads report their turns in small deltas; the list moves one entry
// per whole notch (120 units) of them added up.
#pragma once

namespace mw {

constexpr int kWheelNotch = 120;

// Adds `delta` to `remainder` (what is left of the deltas before) and takes the whole notches
// out of it: negative for turns towards the user, positive away. A turn the other way starts
// afresh, so half a notch one way never eats a whole one the other way.
int TakeWheelNotches(int& remainder, int delta);

} // namespace mw
