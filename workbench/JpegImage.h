// Decoding of JPEG pictures with libjpeg, for the splash picture and the About box.
#pragma once

class QByteArray;
class QImage;

// The picture in `data`, or a null image when the data is not a JPEG libjpeg can read. A
// broken picture never ends the program: libjpeg's errors come back here.
QImage DecodeJpeg(const QByteArray &data);
