#include "../surface.h"
