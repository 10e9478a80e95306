#include "formats/tileset.h"
