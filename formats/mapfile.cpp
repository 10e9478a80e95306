#include "formats/mapfile.h"
