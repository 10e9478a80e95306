#include "formats/tilepalette.h"
