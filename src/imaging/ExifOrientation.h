// The Exif orientation of a JPEG stream and turning a picture upright by it. Cameras store
// the sensor's rows as they come and record in the Exif segment how the picture must be
// turned or mirrored to be seen the right way up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

class BitmapImage;

// The orientation tag (1..8) of the first Exif segment before the frame; 1 (upright) when
// there is none, it is damaged or its value is outside 1..8. Reads stay inside data.
int ExifOrientation(std::span<const uint8_t> jpeg);

// The picture turned upright from orientation 1..8 (1: as stored, 2: mirrored left to right,
// 3: turned half round, 4: mirrored top to bottom, 5: mirrored along the main diagonal,
// 6: turned a quarter clockwise, 7: mirrored along the other diagonal, 8: turned a quarter
// anticlockwise). Takes 8- and 24-bit pictures; 5 to 8 swap width and height.
BitmapImage Oriented(const BitmapImage& picture, int orientation);
// The rows of Oriented(picture, orientation) written into rows: bottom-up, each rowWidth bytes
// apart (as BitmapImage and packed blocks keep them), which must hold the turned picture.
void WriteOriented(const BitmapImage& picture, int orientation, uint8_t* rows, size_t rowWidth);
// Turns an 8- or 24-bit picture upright where it is, without a copy, for the orientations
// that keep its width and height (1 to 4); false, and the picture untouched, for the others.
bool OrientInPlace(BitmapImage& picture, int orientation);
