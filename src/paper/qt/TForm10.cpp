#include "paper/qt/TForm10.h"
