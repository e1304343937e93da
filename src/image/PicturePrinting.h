// PicturePrinting.h - the road both picture exports take: connection check,
// load, size check, dot mask, raster command, one write.
#pragma once

#include "image/Raster.h"

using MaskMaker = DotMask (*)(const BMP& picture);

// 1 the command was built and handed to the printer (whatever the write
// did), 0 the printer is not reachable or the picture is smaller than 8 x 8,
// -8 the file could not be read as a BMP: missing, not a regular file, not
// a BMP the reader takes, beyond its limits or lacking its pixel rows
// (logged under where).
int printPicture(const char* fileName, MaskMaker makeMask, const char* where);
