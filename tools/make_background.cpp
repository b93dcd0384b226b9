// make_background.cpp — makes the window's background picture: 999 x 547, opaque, nearly black
// at the sides where the two playlist panels lie, and in the middle a night over folded hills:
// a moon and stars above, ridges lit along their crests, a lake holding the moon's reflection.
// Deterministic (a fixed seed and integer random numbers), so the picture can be made again:
//   make_background resources/background.png
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

#include "platform/platform.h"

namespace {

constexpr int kWidth = 999;
constexpr int kHeight = 547;
constexpr double kMoonX = 500, kMoonY = 138, kMoonRadius = 30;
constexpr double kHorizon = 392;  // the lake's far shore

struct Rgb {
  double r = 0, g = 0, b = 0;
};
Rgb operator+(Rgb a, Rgb b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b};
}
Rgb operator*(Rgb a, double k) {
  return {a.r * k, a.g * k, a.b * k};
}
Rgb Mix(Rgb a, Rgb b, double t) {
  return a * (1 - t) + b * t;
}

double Smoothstep(double edge0, double edge1, double x) {
  const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// How much of the middle scene shows: none over the panels (x 20..329 and 669..978).
double SceneWeight(double x, double y) {
  const double across = Smoothstep(338, 392, x) * (1 - Smoothstep(608, 662, x));
  const double down = Smoothstep(8, 60, y) * (1 - Smoothstep(500, 544, y));
  return across * down;
}

// The crest of ridge `k` (0 far .. 3 near): a few folded sine waves.
double RidgeTop(int k, double x) {
  static const double kBase[] = {300, 325, 350, 372};
  static const double kHeightOf[] = {34, 28, 22, 16};
  const double phase = k * 1.7;
  return kBase[k] - kHeightOf[k] * (0.55 * std::sin(x / (41.0 + 9 * k) + phase) +
                                    0.30 * std::sin(x / (17.0 + 3 * k) + 2 * phase) +
                                    0.15 * std::sin(x / (7.0 + k) + 3 * phase));
}

Rgb Sky(double x, double y) {
  const Rgb top{5, 6, 20}, low{38, 24, 62};
  Rgb sky = Mix(top, low, Smoothstep(20, kHorizon, y));
  const double d = std::hypot(x - kMoonX, y - kMoonY);
  if (d <= kMoonRadius + 1) {
    const double edge = std::clamp(kMoonRadius + 0.5 - d, 0.0, 1.0);
    const double limb = 1 - 0.25 * std::pow(d / kMoonRadius, 4);
    // A faint darker sea on the disc.
    const double sea = std::hypot(x - kMoonX + 9, y - kMoonY - 5) < 11 ? 0.92 : 1.0;
    sky = Mix(sky, Rgb{238, 228, 206} * (limb * sea), edge);
  }
  const double glow = std::exp(-std::max(0.0, d - kMoonRadius) / 46);
  return sky + Rgb{46, 40, 70} * glow;
}

struct Star {
  int x, y;
  double brightness;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_background OUTPUT.png\n");
    return 2;
  }
  std::mt19937 random(20240607u);
  auto uniform = [&](int low, int high) {
    return low + static_cast<int>(random() % static_cast<unsigned>(high - low + 1));
  };

  // The lake's surface: each row of water a short streak of its own brightness and offset.
  std::vector<double> row_shine(kHeight), row_shift(kHeight);
  for (int y = 0; y < kHeight; ++y) {
    const double shine = uniform(0, 100) / 100.0;
    row_shine[y] = shine * shine;
    row_shift[y] = uniform(-12, 12);
  }

  std::vector<Star> stars;
  for (int i = 0; i < 170; ++i)
    stars.push_back({uniform(350, 650), uniform(24, 330), uniform(25, 100) / 100.0});

  nf::platform::PixelGrid grid{kWidth, kHeight, std::vector<nf::platform::Color>(kWidth * kHeight)};
  std::vector<Rgb> scene(kWidth * kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      Rgb color = Sky(x, y);
      // Ridges, far to near: each darker, its crest catching the moonlight.
      static const Rgb kRidge[] = {{34, 26, 58}, {24, 18, 42}, {15, 11, 28}, {8, 6, 16}};
      for (int k = 0; k < 4; ++k) {
        const double top = RidgeTop(k, x);
        const double cover = std::clamp(y - top + 0.5, 0.0, 1.0);
        const double lit = std::exp(-std::max(0.0, y - top) / 2.2) *
                           (0.6 + 0.4 * std::cos((x - kMoonX) / 260.0)) * (1.0 - 0.18 * k);
        color = Mix(color, kRidge[k] + Rgb{70, 58, 96} * (0.35 * lit), cover);
      }
      // The lake: the sky's low colour, darkening towards us, with the moon's path on it.
      if (y > kHorizon) {
        const double depth = (y - kHorizon) / (kHeight - kHorizon);
        Rgb water = Mix(Rgb{20, 14, 36}, Rgb{5, 4, 10}, std::sqrt(std::min(depth, 1.0)));
        const double spread = 10 + 60 * depth;
        const double path = std::exp(-std::pow((x - kMoonX - row_shift[y] * depth) / spread, 2));
        const double ripple = 0.6 + 0.4 * std::sin(x * 0.35 + y * 0.8);
        water = water + Rgb{190, 172, 150} * (path * ripple * row_shine[y] * (0.6 - 0.4 * depth));
        const double shore = std::clamp(y - kHorizon, 0.0, 1.0);
        color = Mix(color, water, shore);
      }
      scene[y * kWidth + x] = color;
    }
  }
  for (const Star& star : stars) {
    if (star.y >= RidgeTop(0, star.x) - 2 || std::hypot(star.x - kMoonX, star.y - kMoonY) < 70)
      continue;
    Rgb& pixel = scene[star.y * kWidth + star.x];
    pixel = Mix(pixel, Rgb{230, 226, 255}, star.brightness);
    if (star.brightness > 0.85)  // the brightest have a small cross
      for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        Rgb& arm = scene[(star.y + dy) * kWidth + star.x + dx];
        arm = Mix(arm, Rgb{200, 200, 240}, 0.35);
      }
  }

  const Rgb base{4, 2, 2};  // the window's own colour, so the sides melt into the frame
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const Rgb color = Mix(base, scene[y * kWidth + x], SceneWeight(x, y));
      auto channel = [](double v) {
        return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
      };
      grid.pixels[y * kWidth + x] =
          nf::platform::RgbColor(channel(color.r), channel(color.g), channel(color.b));
    }
  }
  if (!nf::platform::WritePngFile(nf::platform::FromUtf8(argv[1]), grid)) {
    std::fprintf(stderr, "make_background: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
