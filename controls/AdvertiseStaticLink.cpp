#include "AdvertiseStaticLink.h"

CAdvertiseStaticLink::CAdvertiseStaticLink() : CStaticLink(NULL, FALSE) {}
