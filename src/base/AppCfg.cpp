#include "base/AppCfg.h"

TAppCfg AppCfg;
