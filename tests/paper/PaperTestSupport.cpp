#include "PaperTestSupport.h"
