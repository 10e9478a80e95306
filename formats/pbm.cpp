#include "formats/pbm.h"
