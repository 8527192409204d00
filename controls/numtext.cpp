#include "controls/numtext.h"
