#include "editor/savefile.h"
