// The room's still pictures: the back and front pictures, the two walk masks and the two
// props. A rehearsal loft at sunset: a ground floor with a window, a gallery along the back
// wall of the right half, stairs between them, and a tie beam carrying the ten lamp sockets.
#pragma once

#include "canvas.h"

Canvas drawBackground();
Canvas drawForeground();
// Floor 0 (the ground floor) or floor 1 (the gallery): opaque where a foot can stand.
Canvas drawWalkMask(int floor);
Canvas drawStairsProp();
Canvas drawGuitarProp();
