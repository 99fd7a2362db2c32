/* The floor a gallery run is measured against: per photo one reduced JPEG
 * decode, a plain bilinear scale to each output size and an encode, on two
 * threads. No filters, frames, metadata or pages.
 *
 *   jpeg_floor OUTDIR THUMB MEDIUM THREADS FILE...
 */
#include <pthread.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <jpeglib.h>

typedef struct {
  unsigned char* pixels;
  int width, height;
} Picture;

static const char* outdir;
static int thumbLimit, mediumLimit;
static char** files;
static int fileCount;
static atomic_int nextFile;

/* Largest reduction that still leaves more than 2x the limit across. */
static int reductionFor(int width, int limit) {
  int r = 0;
  while (r < 3 && (width >> (r + 1)) > 2 * limit) ++r;
  return r;
}

static Picture decode(const char* file, int limit) {
  Picture p = {NULL, 0, 0};
  FILE* in = fopen(file, "rb");
  if (!in) return p;
  struct jpeg_decompress_struct cinfo;
  struct jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, in);
  jpeg_read_header(&cinfo, TRUE);
  cinfo.scale_num = 1;
  cinfo.scale_denom = 1u << reductionFor((int)cinfo.image_width, limit);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  p.width = (int)cinfo.output_width;
  p.height = (int)cinfo.output_height;
  p.pixels = malloc((size_t)p.width * p.height * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = p.pixels + (size_t)cinfo.output_scanline * p.width * 3;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  fclose(in);
  return p;
}

static Picture bilinear(const Picture* src, int limit) {
  Picture p;
  if (src->width >= src->height) {
    p.width = limit;
    p.height = (int)((long)limit * src->height / src->width);
  } else {
    p.height = limit;
    p.width = (int)((long)limit * src->width / src->height);
  }
  p.pixels = malloc((size_t)p.width * p.height * 3);
  const double sx = (double)(src->width - 1) / (p.width > 1 ? p.width - 1 : 1);
  const double sy = (double)(src->height - 1) / (p.height > 1 ? p.height - 1 : 1);
  for (int y = 0; y < p.height; ++y) {
    const double fy = y * sy;
    const int y0 = (int)fy, y1 = y0 + 1 < src->height ? y0 + 1 : y0;
    const double wy = fy - y0;
    for (int x = 0; x < p.width; ++x) {
      const double fx = x * sx;
      const int x0 = (int)fx, x1 = x0 + 1 < src->width ? x0 + 1 : x0;
      const double wx = fx - x0;
      const unsigned char* a = src->pixels + ((size_t)y0 * src->width + x0) * 3;
      const unsigned char* b = src->pixels + ((size_t)y0 * src->width + x1) * 3;
      const unsigned char* c = src->pixels + ((size_t)y1 * src->width + x0) * 3;
      const unsigned char* d = src->pixels + ((size_t)y1 * src->width + x1) * 3;
      unsigned char* o = p.pixels + ((size_t)y * p.width + x) * 3;
      for (int k = 0; k < 3; ++k) {
        const double top = a[k] + (b[k] - a[k]) * wx, bottom = c[k] + (d[k] - c[k]) * wx;
        o[k] = (unsigned char)(top + (bottom - top) * wy + 0.5);
      }
    }
  }
  return p;
}

static void encode(const Picture* p, const char* prefix, const char* file) {
  const char* base = strrchr(file, '/');
  base = base ? base + 1 : file;
  char path[4096];
  snprintf(path, sizeof path, "%s/%s%s", outdir, prefix, base);
  FILE* out = fopen(path, "wb");
  if (!out) return;
  struct jpeg_compress_struct cinfo;
  struct jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, out);
  cinfo.image_width = (JDIMENSION)p->width;
  cinfo.image_height = (JDIMENSION)p->height;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 75, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = p->pixels + (size_t)cinfo.next_scanline * p->width * 3;
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  fclose(out);
}

static void* work(void* unused) {
  (void)unused;
  for (int i; (i = atomic_fetch_add(&nextFile, 1)) < fileCount;) {
    Picture full = decode(files[i], mediumLimit);
    if (!full.pixels) continue;
    Picture medium = bilinear(&full, mediumLimit), thumb = bilinear(&full, thumbLimit);
    encode(&medium, "medium_", files[i]);
    encode(&thumb, "thumb_", files[i]);
    free(full.pixels);
    free(medium.pixels);
    free(thumb.pixels);
  }
  return NULL;
}

int main(int argc, char** argv) {
  if (argc < 6) {
    fprintf(stderr, "usage: %s OUTDIR THUMB MEDIUM THREADS FILE...\n", argv[0]);
    return 2;
  }
  outdir = argv[1];
  thumbLimit = atoi(argv[2]);
  mediumLimit = atoi(argv[3]);
  int threads = atoi(argv[4]);
  if (threads < 1 || threads > 64 || thumbLimit < 1 || mediumLimit < 1) return 2;
  files = argv + 5;
  fileCount = argc - 5;
  pthread_t pool[64];
  for (int t = 0; t < threads; ++t) pthread_create(&pool[t], NULL, work, NULL);
  for (int t = 0; t < threads; ++t) pthread_join(pool[t], NULL);
  return 0;
}
