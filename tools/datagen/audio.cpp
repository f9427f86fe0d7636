#include "audio.hpp"

#include <algorithm>
#include <cmath>
#include <functional>

#include "image.hpp"  // Rng

namespace datagen {

namespace {

constexpr double kTau = 6.283185307179586;
constexpr int kRate = 44100;

double midiHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

struct OnePole {  // low-pass; cutoff in Hz
  double z = 0;
  double run(double x, double hz, int rate = kRate) {
    const double a = 1.0 - std::exp(-kTau * hz / rate);
    z += a * (x - z);
    return z;
  }
};

struct Noise {
  Rng rng;
  explicit Noise(std::uint32_t seed) : rng(seed) {}
  double next() { return rng.uniform() * 2.0 - 1.0; }
};

// Attack, then exponential decay with the given time constant.
double env(double t, double attack, double decay) {
  if (t < 0) return 0;
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / decay);
}

// Every effect peaks at 0.3 of full scale (about -10.5 dBFS): the usual
// overlaps (a bomb by the water; a glass break with a landing and a boing,
// three effects at once) then stay clear of clipping with the music playing
// under them. At -6 dBFS the three-way overlaps measured up to 1.2, at
// 0.35 still 1.07.
constexpr double kEffectPeak = 0.3;
// The music sits lower still: it plays under everything.
constexpr double kMusicPeak = 0.3;

// Normalises to the effect peak, with a short fade at the very end so
// nothing clicks when the sound stops.
void finish(std::vector<float>& s) {
  float m = 0;
  for (float v : s) m = std::max(m, std::fabs(v));
  const float g = m > 0 ? static_cast<float>(kEffectPeak) / m : 1.0f;
  const std::size_t fade = std::min<std::size_t>(s.size(), 220);
  for (std::size_t i = 0; i < s.size(); ++i) {
    s[i] *= g;
    const std::size_t left = s.size() - i;
    if (left < fade) s[i] *= static_cast<float>(left) / static_cast<float>(fade);
  }
}

Audio render(double seconds, const std::function<double(double, int)>& f) {
  Audio a;
  a.rate = kRate;
  a.channels = 1;
  const int n = static_cast<int>(seconds * kRate);
  a.samples.resize(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) a.samples[static_cast<std::size_t>(i)] = static_cast<float>(f(static_cast<double>(i) / kRate, i));
  finish(a.samples);
  return a;
}

Audio blip(double f0, double f1, double len, double second) {
  double ph = 0;
  return render(len + (second > 0 ? len : 0), [=](double t, int) mutable {
    const bool two = second > 0 && t >= len;
    const double lt = two ? t - len : t;
    const double f = two ? second : f0 + (f1 - f0) * std::min(1.0, lt / len);
    ph += kTau * f / kRate;
    const double e = env(lt, 0.004, len * 0.35);
    return e * (std::sin(ph) * 0.8 + 0.2 * std::sin(2 * ph));
  });
}

Audio explosion(std::uint32_t seed, double len, double lowHz, double thumpHz) {
  Noise n(seed);
  OnePole lp, lp2;
  double ph = 0;
  return render(len, [=](double t, int) mutable {
    const double e = env(t, 0.003, len * 0.28);
    const double cut = lowHz + 3500 * std::exp(-t * 9);
    const double rumble = lp2.run(lp.run(n.next(), cut), cut);
    ph += kTau * (thumpHz * (1 + 1.5 * std::exp(-t * 18))) / kRate;
    return e * (rumble * 1.6 + std::sin(ph) * 0.9 * std::exp(-t * 7));
  });
}

Audio splash(std::uint32_t seed, double len, double brightness) {
  Noise n(seed);
  Rng bub(seed + 99);
  OnePole lp, hp;
  struct Bubble {
    double start, f, ph = 0;
  };
  std::vector<Bubble> bubbles;
  for (int i = 0; i < 7; ++i) bubbles.push_back({bub.uniform() * len * 0.7, 500 + 900 * bub.uniform()});
  return render(len, [=](double t, int) mutable {
    const double e = env(t, 0.006, len * 0.22);
    const double x = n.next();
    const double band = lp.run(x, 1500 * brightness + 2500 * std::exp(-t * 6)) - hp.run(x, 300);
    double b = 0;
    for (auto& bb : bubbles) {
      const double bt = t - bb.start;
      if (bt < 0 || bt > 0.09) continue;
      bb.ph += kTau * bb.f * (1 + bt * 9) / kRate;
      b += std::sin(bb.ph) * env(bt, 0.002, 0.025) * 0.45;
    }
    return e * band * 1.8 + b;
  });
}

Audio glassBreak(std::uint32_t seed, double len) {
  Noise n(seed);
  Rng r(seed + 5);
  OnePole lp;
  struct Ping {
    double start, f, ph = 0, decay;
  };
  std::vector<Ping> pings;
  for (int i = 0; i < 12; ++i) pings.push_back({r.uniform() * len * 0.4, 2400 + 4200 * r.uniform(), 0, 0.04 + 0.1 * r.uniform()});
  return render(len, [=](double t, int) mutable {
    const double x = n.next();
    const double crack = (x - lp.run(x, 2500)) * env(t, 0.001, 0.03);
    double s = 0;
    for (auto& p : pings) {
      const double pt = t - p.start;
      if (pt < 0) continue;
      p.ph += kTau * p.f / kRate;
      s += std::sin(p.ph) * env(pt, 0.0008, p.decay) * 0.3;
    }
    return crack * 1.5 + s;
  });
}

Audio thud(std::uint32_t seed, double len, double f0, double noiseAmt) {
  Noise n(seed);
  OnePole lp;
  double ph = 0;
  return render(len, [=](double t, int) mutable {
    ph += kTau * (f0 * (0.55 + 0.45 * std::exp(-t * 30))) / kRate;
    const double body = std::sin(ph) * env(t, 0.002, len * 0.25);
    const double tick = lp.run(n.next(), 1200) * env(t, 0.0005, 0.02) * noiseAmt;
    return body + tick * 3;
  });
}

Audio crumble(std::uint32_t seed) {
  Noise n(seed);
  Rng r(seed + 1);
  OnePole lp;
  std::vector<double> grains;
  for (int i = 0; i < 9; ++i) grains.push_back(r.uniform() * 0.25);
  double ph = 0;
  return render(0.45, [=](double t, int) mutable {
    double g = 0;
    for (double s : grains) g += env(t - s, 0.001, 0.018);
    const double x = lp.run(n.next(), 1800);
    ph += kTau * 80 * (1 + std::exp(-t * 20)) / kRate;
    return x * g * 2.2 + std::sin(ph) * env(t, 0.002, 0.06) * 0.7;
  });
}

Audio needleWarning() {
  // Two bursts of an inharmonic, bell-like metal ring with a shiver.
  return render(0.75, [](double t, int) {
    double s = 0;
    for (double start : {0.0, 0.28}) {
      const double lt = t - start;
      if (lt < 0) continue;
      const double e = env(lt, 0.002, 0.12);
      const double base = 1180;
      s += e * (std::sin(kTau * base * lt) + 0.6 * std::sin(kTau * base * 2.76 * lt) + 0.35 * std::sin(kTau * base * 5.4 * lt) +
                0.4 * std::sin(kTau * base * 1.51 * lt)) *
           (0.75 + 0.25 * std::sin(kTau * 28 * lt));
    }
    return s;
  });
}

Audio swoosh() {
  Noise n(31);
  OnePole a, b;
  return render(0.4, [=](double t, int) mutable {
    const double u = t / 0.4;
    const double e = std::sin(3.14159 * u) * std::sin(3.14159 * u);
    const double f = 400 + 3200 * u;
    const double x = n.next();
    const double band = a.run(x, f * 1.4) - b.run(x, f * 0.6);
    return band * e * 3;
  });
}

Audio jingle() {
  const double notes[] = {72, 76, 79, 84};
  return render(1.3, [=](double t, int) {
    double s = 0;
    for (int i = 0; i < 4; ++i) {
      const double st = i * 0.11;
      const double lt = t - st;
      if (lt < 0) continue;
      const double f = midiHz(notes[i]);
      const double d = i == 3 ? 0.45 : 0.12;
      s += env(lt, 0.004, d) * (std::sin(kTau * f * lt) + 0.3 * std::sin(kTau * f * 2 * lt) + 0.15 * std::sin(kTau * f * 3 * lt));
    }
    // The closing chord under the last note.
    const double ct = t - 0.33;
    if (ct >= 0)
      for (double nn : {60.0, 64.0, 67.0})
        s += 0.35 * env(ct, 0.01, 0.35) * std::sin(kTau * midiHz(nn) * ct);
    return s;
  });
}

Audio walkLoop() {
  // Two soft steps in half a second; both fade out well before the end so the
  // sound repeats without a seam.
  Noise n(41);
  OnePole lp;
  return render(0.5, [=](double t, int) mutable {
    double s = 0;
    const double x = lp.run(n.next(), 900);
    for (double start : {0.0, 0.25}) {
      const double lt = t - start;
      if (lt < 0 || lt > 0.2) continue;
      const double e = env(lt, 0.002, 0.022);
      s += e * (x * 2.0 + 0.6 * std::sin(kTau * (start > 0 ? 150 : 170) * lt));
    }
    return s;
  });
}

Audio keyClick() {
  Noise n(51);
  OnePole lp;
  return render(0.05, [=](double t, int) mutable {
    const double x = n.next();
    return (x - lp.run(x, 3000)) * env(t, 0.0003, 0.006) + 0.5 * std::sin(kTau * 2200 * t) * env(t, 0.0003, 0.01);
  });
}

Audio boing() {
  double ph = 0;
  return render(0.55, [=](double t, int) mutable {
    const double f = 170 + 90 * t + 70 * std::sin(kTau * 13 * t) * std::exp(-t * 4);
    ph += kTau * f / kRate;
    const double e = env(t, 0.003, 0.16);
    return e * (std::sin(ph) + 0.35 * std::sin(2 * ph) + 0.15 * std::sin(3 * ph));
  });
}

Audio jump() {
  double ph = 0;
  return render(0.24, [=](double t, int) mutable {
    const double f = 280 * std::pow(3.2, t / 0.2);
    ph += kTau * f / kRate;
    const double tri = 2 / 3.14159 * std::asin(std::sin(ph));
    return env(t, 0.003, 0.08) * (0.6 * std::sin(ph) + 0.4 * tri);
  });
}

Audio bonusChime() {
  const double notes[] = {84, 88, 91, 96};
  return render(0.7, [=](double t, int) {
    double s = 0;
    for (int i = 0; i < 4; ++i) {
      const double lt = t - i * 0.055;
      if (lt < 0) continue;
      const double f = midiHz(notes[i]);
      s += env(lt, 0.002, 0.18) * (std::sin(kTau * f * lt) + 0.4 * std::sin(kTau * f * 2.76 * lt) * std::exp(-lt * 12));
    }
    return s;
  });
}

}  // namespace

const std::vector<std::string>& soundFiles() {
  static const std::vector<std::string> files = {
      "menu_selection.wav", "menu_selection2.wav", "jump.wav",      "boing.wav",     "bonus.wav",
      "explode1.wav",       "explode2.wav",        "explode3.wav",  "explode4.wav",  "explode5.wav",
      "waterhit1.wav",      "waterhit2.wav",       "waterhit3.wav", "waterhit4.wav", "waterhit5.wav",
      "break_glass.wav",    "break_glass2.wav",    "tile_explo.wav", "tile_push.wav", "fall1.wav",
      "nidle.wav",          "swoosh.wav",          "done.wav",      "walk.wav",      "key.wav"};
  return files;
}

Audio makeSound(const std::string& f) {
  if (f == "menu_selection.wav") return blip(880, 1320, 0.07, 0);
  if (f == "menu_selection2.wav") return blip(660, 660, 0.08, 990);
  if (f == "jump.wav") return jump();
  if (f == "boing.wav") return boing();
  if (f == "bonus.wav") return bonusChime();
  if (f == "explode1.wav") return explosion(11, 0.9, 180, 55);
  if (f == "explode2.wav") return explosion(12, 1.1, 140, 48);
  if (f == "explode3.wav") return explosion(13, 0.8, 240, 62);
  if (f == "explode4.wav") return explosion(14, 1.2, 120, 44);
  if (f == "explode5.wav") return explosion(15, 1.4, 100, 40);
  if (f.rfind("waterhit", 0) == 0) {
    const int k = f[8] - '0';
    return splash(static_cast<std::uint32_t>(20 + k), 0.38 + 0.06 * k, 0.7 + 0.15 * k);
  }
  if (f == "break_glass.wav") return glassBreak(61, 0.55);
  if (f == "break_glass2.wav") return glassBreak(62, 0.45);
  if (f == "tile_explo.wav") return crumble(71);
  if (f == "tile_push.wav") return thud(81, 0.22, 110, 0.6);
  if (f == "fall1.wav") return thud(82, 0.28, 80, 1.0);
  if (f == "nidle.wav") return needleWarning();
  if (f == "swoosh.wav") return swoosh();
  if (f == "done.wav") return jingle();
  if (f == "walk.wav") return walkLoop();
  if (f == "key.wav") return keyClick();
  return render(0.1, [](double, int) { return 0.0; });
}

// --- music ------------------------------------------------------------------------

namespace {

// A stereo loop: every note is written modulo the loop length, so tails that
// run past the end continue at the start and the loop has no seam.
struct Loop {
  std::size_t frames;
  std::vector<double> l, r;
  explicit Loop(std::size_t n) : frames(n), l(n, 0.0), r(n, 0.0) {}
  void add(std::size_t at, double v, double pan) {  // pan -1 left .. 1 right
    const std::size_t i = at % frames;
    l[i] += v * std::sqrt(0.5 * (1 - pan));
    r[i] += v * std::sqrt(0.5 * (1 + pan));
  }
};

enum class Inst { Pad, Pluck, Bell, Bass, Lead, Kick, Snare, Hat, Stab };

void note(Loop& loop, Inst inst, std::size_t start, double len, double midi, double vel, double pan, std::uint32_t seed = 1) {
  const double f = midiHz(midi);
  double tail = 0.3;
  switch (inst) {
    case Inst::Pad: tail = 1.2; break;
    case Inst::Bell: tail = 1.6; break;
    case Inst::Pluck: tail = 0.6; break;
    default: break;
  }
  const std::size_t n = static_cast<std::size_t>((len + tail) * kRate);
  OnePole lp, lp2;
  Noise nz(seed);
  double ph = 0, ph2 = 0.3, ph3 = 0.7;
  for (std::size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kRate;
    double v = 0;
    switch (inst) {
      case Inst::Pad: {
        const double a = std::min(1.0, t / 0.35);
        const double rel = t > len ? std::exp(-(t - len) / 0.35) : 1.0;
        ph += kTau * f * 1.003 / kRate;
        ph2 += kTau * f * 0.997 / kRate;
        ph3 += kTau * f * 2.0 / kRate;
        const double tri = (2 / 3.14159) * (std::asin(std::sin(ph)) + std::asin(std::sin(ph2))) * 0.5;
        v = a * rel * lp.run(tri + 0.15 * std::sin(ph3), 1400);
        break;
      }
      case Inst::Pluck: {
        ph += kTau * f / kRate;
        const double saw = 2 * (ph / kTau - std::floor(ph / kTau + 0.5));
        v = lp2.run(lp.run(saw, 300 + 3500 * std::exp(-t * 14)), 5000) * env(t, 0.002, 0.18);
        break;
      }
      case Inst::Bell: {
        ph += kTau * f / kRate;
        ph2 += kTau * f * 3.5 / kRate;
        v = std::sin(ph + 1.6 * std::exp(-t * 5) * std::sin(ph2)) * env(t, 0.003, 0.45);
        break;
      }
      case Inst::Bass: {
        ph += kTau * f / kRate;
        const double sq = std::tanh(3 * std::sin(ph));
        const double rel = t > len ? std::exp(-(t - len) / 0.03) : 1.0;
        v = lp.run(0.7 * std::sin(ph) + 0.5 * sq, 900) * std::min(1.0, t / 0.004) * rel * (0.75 + 0.25 * std::exp(-t * 6));
        break;
      }
      case Inst::Lead: {
        const double vib = 1 + 0.004 * std::sin(kTau * 5.5 * t) * std::min(1.0, t / 0.15);
        ph += kTau * f * vib / kRate;
        ph2 += kTau * f * vib * 1.005 / kRate;
        const double sq = std::tanh(2.5 * std::sin(ph)) + 0.5 * std::tanh(2.5 * std::sin(ph2));
        const double rel = t > len ? std::exp(-(t - len) / 0.06) : 1.0;
        v = lp.run(sq, 2600) * std::min(1.0, t / 0.008) * rel * (0.8 + 0.2 * std::exp(-t * 8));
        break;
      }
      case Inst::Stab: {
        ph += kTau * f / kRate;
        ph2 += kTau * f * 1.007 / kRate;
        const double saw = 2 * (ph / kTau - std::floor(ph / kTau + 0.5)) + 2 * (ph2 / kTau - std::floor(ph2 / kTau + 0.5));
        v = lp.run(saw * 0.5, 900 + 2500 * std::exp(-t * 20)) * env(t, 0.003, 0.09);
        break;
      }
      case Inst::Kick: {
        ph += kTau * (50 + 110 * std::exp(-t * 28)) / kRate;
        v = std::sin(ph) * env(t, 0.001, 0.14) * 1.3;
        break;
      }
      case Inst::Snare: {
        const double x = nz.next();
        ph += kTau * 190 / kRate;
        v = (x - lp.run(x, 800)) * env(t, 0.001, 0.07) + 0.4 * std::sin(ph) * env(t, 0.001, 0.04);
        break;
      }
      case Inst::Hat: {
        const double x = nz.next();
        v = (x - lp.run(x, 6000)) * env(t, 0.0005, 0.025) * 0.6;
        break;
      }
    }
    if (i + 1 == n) break;
    loop.add(start + i, v * vel, pan);
  }
}

// Feedback echo run twice round the loop; the second pass is kept, so the
// echoes of the end already sound at the start.
void echo(Loop& loop, double seconds, double feedback, double wet) {
  const std::size_t d = static_cast<std::size_t>(seconds * kRate);
  std::vector<double> bl(d, 0.0), br(d, 0.0);
  std::vector<double> outL(loop.frames), outR(loop.frames);
  std::size_t p = 0;
  for (int pass = 0; pass < 2; ++pass)
    for (std::size_t i = 0; i < loop.frames; ++i) {
      const double el = bl[p], er = br[p];
      bl[p] = loop.l[i] + er * feedback;  // ping-pong
      br[p] = loop.r[i] + el * feedback;
      p = (p + 1) % d;
      outL[i] = loop.l[i] + el * wet;
      outR[i] = loop.r[i] + er * wet;
    }
  loop.l.swap(outL);
  loop.r.swap(outR);
}

Audio toAudio(const Loop& loop) {
  double m = 0;
  for (std::size_t i = 0; i < loop.frames; ++i) m = std::max({m, std::fabs(loop.l[i]), std::fabs(loop.r[i])});
  const double g = m > 0 ? kMusicPeak / m : 1.0;
  Audio a;
  a.rate = kRate;
  a.channels = 2;
  a.samples.resize(loop.frames * 2);
  // A 5 ms fade at both ends: the track starts on silence and wraps from
  // silence to silence, so neither the start nor the loop ticks.
  const std::size_t fade = std::min<std::size_t>(loop.frames / 2, 220);
  for (std::size_t i = 0; i < loop.frames; ++i) {
    const std::size_t edge = std::min(i, loop.frames - 1 - i);
    const double k = edge < fade ? static_cast<double>(edge) / static_cast<double>(fade) : 1.0;
    a.samples[2 * i] = static_cast<float>(loop.l[i] * g * k);
    a.samples[2 * i + 1] = static_cast<float>(loop.r[i] * g * k);
  }
  return a;
}

struct Chord {
  int root;  // MIDI note of the root in the octave from C3
  bool minor;
};

std::vector<int> chordTones(const Chord& c) { return {c.root, c.root + (c.minor ? 3 : 4), c.root + 7}; }

// A tune drawn from the chords: chord tones on strong beats, scale steps in
// between, two-bar phrases that answer each other.
int nearestTone(int want, const std::vector<int>& tones) {
  int best = want, bestD = 100;
  for (int o = -24; o <= 36; o += 12)
    for (int t : tones) {
      const int c = t + o, d = std::abs(c - want);
      if (d < bestD) {
        bestD = d;
        best = c;
      }
    }
  return best;
}

int scaleStep(int note, int dir, bool minorKey) {
  static const int major[] = {0, 2, 4, 5, 7, 9, 11};
  static const int minorS[] = {0, 2, 3, 5, 7, 8, 10};
  const int* sc = minorKey ? minorS : major;
  const int tonic = minorKey ? 57 : 60;  // A or C
  for (int k = 1; k < 12; ++k) {
    const int c = note + dir * k;
    const int pc = ((c - tonic) % 12 + 12) % 12;
    for (int i = 0; i < 7; ++i)
      if (sc[i] == pc) return c;
  }
  return note;
}

}  // namespace

Audio menuMusic() {
  // 80 beats a minute: a beat is exactly 33075 frames; 16 bars = 48 s.
  const std::size_t beat = 33075;
  const std::vector<Chord> prog = {{48, false}, {45, true}, {41, false}, {43, false}, {48, false}, {52, true}, {41, false}, {43, false},
                                   {45, true},  {41, false}, {48, false}, {43, false}, {41, false}, {43, false}, {48, false}, {48, false}};
  Loop loop(beat * 4 * prog.size());
  Rng rng(3);
  int mel = 72;
  for (std::size_t bar = 0; bar < prog.size(); ++bar) {
    const Chord& c = prog[bar];
    const std::size_t b0 = bar * 4 * beat;
    for (int t : chordTones(c)) note(loop, Inst::Pad, b0, 4.0 * 0.75 - 0.1, t + 12, 0.16, (t % 3 - 1) * 0.4);
    note(loop, Inst::Bass, b0, 1.4, c.root - 12, 0.38, 0);
    note(loop, Inst::Bass, b0 + 2 * beat, 1.4, c.root - 12 + (bar % 2 ? 7 : 0), 0.3, 0);
    const auto tones = chordTones(c);
    const int arp[8] = {0, 1, 2, 3, 2, 1, 0, 1};
    for (int k = 0; k < 8; ++k) {
      const int idx = arp[k];
      const int n = idx == 3 ? tones[0] + 24 : tones[static_cast<std::size_t>(idx)] + 12;
      note(loop, Inst::Pluck, b0 + static_cast<std::size_t>(k) * beat / 2, 0.3, n, 0.17, k % 2 ? 0.45 : -0.45);
    }
    // Melody: rests in the first two bars, then phrases of quarter and half notes.
    if (bar < 2 || bar == 15) continue;
    const int rhythm[2][4] = {{2, 1, 1, 0}, {1, 1, 2, 0}};
    const int* rh = rhythm[bar % 2];
    std::size_t pos = b0;
    for (int k = 0; k < 4 && rh[k] > 0; ++k) {
      if (k == 0) mel = nearestTone(mel + static_cast<int>(rng.range(-3, 4)), tones);
      else mel = rng.uniform() < 0.5 ? scaleStep(mel, rng.uniform() < 0.5 ? 1 : -1, false) : nearestTone(mel + 2, tones);
      mel = std::clamp(mel, 67, 84);
      note(loop, Inst::Bell, pos, rh[k] * 0.75 * 0.9, mel, 0.3, 0.1);
      pos += static_cast<std::size_t>(rh[k]) * beat;
    }
  }
  echo(loop, 0.75 * 0.75, 0.35, 0.35);
  return toAudio(loop);
}

Audio gameMusic() {
  // 126 beats a minute: a beat is exactly 21000 frames; 32 bars = 60.95 s.
  const std::size_t beat = 21000;
  const double bs = 21000.0 / kRate;
  const std::vector<Chord> a = {{45, true}, {41, false}, {48, false}, {43, false}};
  const std::vector<Chord> b = {{41, false}, {43, false}, {45, true}, {45, true}, {50, true}, {43, false}, {48, false}, {40, false}};
  std::vector<Chord> prog;
  for (int i = 0; i < 4; ++i) prog.insert(prog.end(), a.begin(), a.end());
  prog.insert(prog.end(), b.begin(), b.end());
  for (int i = 0; i < 2; ++i) prog.insert(prog.end(), a.begin(), a.end());
  Loop loop(beat * 4 * prog.size());
  Rng rng(11);
  // One two-bar motif (as steps from the chord's nearest tone), reused
  // with variations so the tune is memorable.
  struct Step {
    double beats;
    int move;  // 0 chord tone, +/-1 scale step from the previous note
  };
  const std::vector<Step> motif1 = {{0.5, 0}, {0.5, 1}, {1, 1}, {0.5, -1}, {0.5, -1}, {1, 0}};
  const std::vector<Step> motif2 = {{1, 0}, {0.5, 1}, {0.5, 1}, {0.5, 1}, {0.5, -1}, {1, 0}};
  int mel = 69;
  for (std::size_t bar = 0; bar < prog.size(); ++bar) {
    const Chord& c = prog[bar];
    const auto tones = chordTones(c);
    const std::size_t b0 = bar * 4 * beat;
    const bool intro = bar < 4;
    const bool breakdown = bar >= 16 && bar < 20;
    for (int k = 0; k < 4; ++k) {
      const std::size_t at = b0 + static_cast<std::size_t>(k) * beat;
      if (!breakdown || k == 0) note(loop, Inst::Kick, at, 0.1, 36, 0.9, 0, 5);
      if (!intro && (k == 1 || k == 3)) note(loop, Inst::Snare, at, 0.1, 38, 0.55, 0.1, static_cast<std::uint32_t>(bar * 4 + static_cast<std::size_t>(k)));
      for (int h = 0; h < 2; ++h)
        note(loop, Inst::Hat, at + static_cast<std::size_t>(h) * beat / 2, 0.03, 42, h ? 0.35 : 0.22, 0.35, static_cast<std::uint32_t>(1000 + bar * 8 + static_cast<std::size_t>(k * 2 + h)));
      if (!intro) note(loop, Inst::Stab, at + beat / 2, 0.1, tones[static_cast<std::size_t>(k % 3)] + 12, 0.18, k % 2 ? 0.5 : -0.5);
    }
    // Driving eighth-note bass: root, root, octave, root ...
    const int pat[8] = {0, 0, 12, 0, 0, 7, 12, 0};
    for (int k = 0; k < 8; ++k)
      note(loop, Inst::Bass, b0 + static_cast<std::size_t>(k) * beat / 2, bs * 0.42, c.root - 12 + pat[k], 0.42, 0);
    if (intro || breakdown) {
      for (int t : tones) note(loop, Inst::Pad, b0, bs * 4 - 0.1, t + 12, 0.12, 0);
      continue;
    }
    const auto& motif = (bar / 2) % 2 ? motif2 : motif1;
    const std::size_t half = (bar % 2) * motif.size() / 2;
    double pos = 0;
    for (std::size_t k = 0; k < motif.size() / 2; ++k) {
      const Step& s = motif[half + k];
      if (s.move == 0) mel = nearestTone(mel, tones);
      else mel = scaleStep(mel, s.move, true);
      if (mel > 81) mel -= 12;
      if (mel < 64) mel += 12;
      const bool last = k + 1 == motif.size() / 2;
      const double lenBeats = last && bar % 2 ? s.beats + 1 : s.beats;
      note(loop, Inst::Lead, b0 + static_cast<std::size_t>(pos * static_cast<double>(beat)), lenBeats * bs * 0.85, mel, 0.24, -0.1);
      pos += s.beats;
    }
    (void)rng;
  }
  echo(loop, bs * 0.75, 0.3, 0.25);
  return toAudio(loop);
}

}  // namespace datagen
