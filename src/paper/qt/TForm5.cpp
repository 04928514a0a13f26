#include "paper/qt/TForm5.h"
