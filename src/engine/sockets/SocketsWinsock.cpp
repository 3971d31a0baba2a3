#include "Sockets.h"
