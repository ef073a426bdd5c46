// libjpeg behind one function. libjpeg reports fatal errors through a callback that must not
// return, so the callback jumps back to the decoder, which then gives up cleanly.
#include "workbench/JpegImage.h"

#include <QByteArray>
#include <QImage>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {
struct TJpegErrorJump {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
  auto *err = reinterpret_cast<TJpegErrorJump *>(info->err);
  std::longjmp(err->Jump, 1);
}

void IgnoreJpegMessage(j_common_ptr) {}

// Everything with a destructor lives outside the function that calls setjmp, so the jump
// back skips no destructor.
bool DecodeInto(const QByteArray &data, jpeg_decompress_struct &info, TJpegErrorJump &err,
                QImage &out) {
  if (setjmp(err.Jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(data.constData()),
               static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  if (info.output_components != 3) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  // The image is allocated before decoding starts, so the jump can only skip plain data.
  out = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
               QImage::Format_RGB888);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out.scanLine(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}
} // namespace

QImage DecodeJpeg(const QByteArray &data) {
  if (data.isEmpty())
    return {};
  jpeg_decompress_struct info{};
  TJpegErrorJump err{};
  info.err = jpeg_std_error(&err.Manager);
  err.Manager.error_exit = OnJpegError;
  err.Manager.output_message = IgnoreJpegMessage;
  QImage image;
  if (!DecodeInto(data, info, err, image))
    return {};
  return image;
}
