/* The independent decode of a GIF test picture, by giflib: every frame's indexes as giflib
 * decodes them, laid onto a canvas as large as the frames' largest right and bottom edges, each
 * frame over what the frames before it left (no disposal), and the canvas written after each
 * frame as RGBA through that frame's colour table (its local one, else the global one; indexes
 * beyond the table are black). A pixel whose index is the transparent index in force (set by the
 * latest graphic control extension) has alpha 0.
 *
 *   gif_reference FILE.gif OUT_PREFIX    writes OUT_PREFIX.N.rgba for each frame N and prints
 *                                        "WIDTH HEIGHT FRAMES" on standard output
 *
 * Built and run by make_gifs.py only; the tests read the PNG files made from its output. */
#include <gif_lib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv) {
  if (argc != 3) return 1;
  int error = 0;
  GifFileType* gif = DGifOpenFileName(argv[1], &error);
  if (gif == NULL || DGifSlurp(gif) != GIF_OK) {
    fprintf(stderr, "giflib cannot read %s\n", argv[1]);
    return 2;
  }
  int width = 0, height = 0;
  for (int i = 0; i < gif->ImageCount; ++i) {
    GifImageDesc* d = &gif->SavedImages[i].ImageDesc;
    if (d->Left + d->Width > width) width = d->Left + d->Width;
    if (d->Top + d->Height > height) height = d->Top + d->Height;
  }
  unsigned char* canvas = calloc((size_t)width * height, 1);
  unsigned char* rgba = malloc((size_t)width * height * 4);
  int transparent = -1;
  for (int i = 0; i < gif->ImageCount; ++i) {
    SavedImage* frame = &gif->SavedImages[i];
    for (int e = 0; e < frame->ExtensionBlockCount; ++e) {
      ExtensionBlock* block = &frame->ExtensionBlocks[e];
      if (block->Function != GRAPHICS_EXT_FUNC_CODE) continue;
      GraphicsControlBlock gcb;
      DGifExtensionToGCB(block->ByteCount, block->Bytes, &gcb);
      transparent = gcb.TransparentColor;
    }
    GifImageDesc* d = &frame->ImageDesc;
    /* DGifSlurp has already put interlaced rows in their places. */
    for (int y = 0; y < d->Height; ++y) {
      memcpy(canvas + (size_t)(d->Top + y) * width + d->Left, frame->RasterBits + (size_t)y * d->Width, d->Width);
    }
    ColorMapObject* map = d->ColorMap != NULL ? d->ColorMap : gif->SColorMap;
    for (size_t p = 0; p < (size_t)width * height; ++p) {
      int index = canvas[p];
      GifColorType colour = {0, 0, 0};
      if (map != NULL && index < map->ColorCount) colour = map->Colors[index];
      rgba[4 * p] = colour.Red;
      rgba[4 * p + 1] = colour.Green;
      rgba[4 * p + 2] = colour.Blue;
      rgba[4 * p + 3] = index == transparent ? 0 : 255;
    }
    char name[4096];
    snprintf(name, sizeof name, "%s.%d.rgba", argv[2], i);
    FILE* out = fopen(name, "wb");
    if (out == NULL || fwrite(rgba, 4, (size_t)width * height, out) != (size_t)width * height) return 3;
    fclose(out);
  }
  printf("%d %d %d\n", width, height, gif->ImageCount);
  DGifCloseFile(gif, &error);
  free(canvas);
  free(rgba);
  return 0;
}
