// The line search of the minimiser: a golden-ratio bracket of a minimum along
// the current line, narrowed by Brent's method.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "superposition/superposition.h"

namespace kelmar {

double sign(double a, double b) { return b >= 0.0 ? std::fabs(a) : -std::fabs(a); }

void Minimiser::linmin(Vec3& p, Vec3& d, double& fret) {
  for (int j = 1; j <= 3; ++j) {
    f1com.lineorig(j) = p(j);
    f1com.linedir(j) = d(j);
  }
  f1com.linedim = 3;
  Bracket br = bracket();
  double xmin = 0.0;
  double fmin = br.f0;
  // A level line (or one that has run out of finite numbers) has no minimum
  // to narrow: the point stays where it is.
  if (br.usable) fmin = brent(br.ax, br.bx, br.cx, xmin);
  for (int j = 1; j <= 3; ++j) {
    d(j) = xmin * d(j);
    p(j) = p(j) + d(j);
  }
  fret = fmin;
}

double Minimiser::f1dim(double t) {
  for (int j = 1; j <= 3; ++j) xt(j) = (t * f1com.linedir(j)) + f1com.lineorig(j);
  return objective_(xt);
}

namespace {

bool allFinite(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

}  // namespace

Minimiser::Bracket Minimiser::bracket() {
  Bracket br;
  double ax = 0.0;
  double bx = 1.0;
  double fa = f1dim(ax);
  double fb = f1dim(bx);
  br.f0 = fa;
  if (fb > fa) {
    std::swap(ax, bx);
    std::swap(fa, fb);
  }
  double cx = ((bx - ax) * kGold) + bx;
  double fc = f1dim(cx);
  for (;;) {
    // On a level line the test fb >= fc would hold for ever while the
    // abscissae grow without bound.
    if (!allFinite({ax, bx, cx, fa, fb, fc}) || (fa == fb && fb == fc)) {
      br.usable = false;
      return br;
    }
    if (!(fb >= fc)) break;
    double r = (bx - ax) * (fb - fc);
    double q = (bx - cx) * (fb - fa);
    double u = bx - ((bx - cx) * q - (bx - ax) * r) /
                        (2.0 * sign(std::max(std::fabs(q - r), kTiny), q - r));
    double ulim = bx + kGlimit * (cx - bx);
    double fu;
    if ((bx - u) * (u - cx) > 0.0) {
      fu = f1dim(u);
      if (fu < fc) {
        ax = bx;
        bx = u;
        break;
      }
      if (fu > fb) {
        cx = u;
        break;
      }
      u = cx + kGold * (cx - bx);
      fu = f1dim(u);
    } else if ((cx - u) * (u - ulim) > 0.0) {
      fu = f1dim(u);
      if (fu < fc) {
        bx = cx;
        cx = u;
        u = cx + kGold * (cx - bx);
        fb = fc;
        fc = fu;
        fu = f1dim(u);
      }
    } else if ((u - ulim) * (ulim - cx) >= 0.0) {
      u = ulim;
      fu = f1dim(u);
    } else {
      u = cx + kGold * (cx - bx);
      fu = f1dim(u);
    }
    ax = bx;
    bx = cx;
    cx = u;
    fa = fb;
    fb = fc;
    fc = fu;
  }
  br.ax = ax;
  br.bx = bx;
  br.cx = cx;
  return br;
}

double Minimiser::brent(double ax, double bx, double cx, double& xmin) {
  double a = std::min(ax, cx);
  double b = std::max(ax, cx);
  double x = bx, w = bx, v = bx;
  double e = 0.0;
  double d = 0.0;
  double fx = f1dim(bx);
  double fw = fx, fv = fx;
  for (int iter = 1; iter <= kBrentIterations; ++iter) {
    double xm = (a + b) * 0.5;
    double tol1 = std::fabs(x) * kTol + kZeps;
    double tol2 = tol1 + tol1;
    if (std::fabs(x - xm) <= tol2 - (b - a) * 0.5) {
      xmin = x;
      return fx;
    }
    bool golden = true;
    if (std::fabs(e) > tol1) {
      double r = (x - w) * (fx - fv);
      double q = (x - v) * (fx - fw);
      double p = (x - v) * q - (x - w) * r;
      q = 2.0 * (q - r);
      if (q > 0.0) p = -p;
      q = std::fabs(q);
      double etemp = e;
      e = d;
      if (!(std::fabs(p) >= std::fabs(0.5 * q * etemp) || p <= q * (a - x) || p >= q * (b - x))) {
        d = p / q;
        double u = x + d;
        if (u - a < tol2 || b - u < tol2) d = sign(tol1, xm - x);
        golden = false;
      }
    }
    if (golden) {
      e = x >= xm ? a - x : b - x;
      d = kCgold * e;
    }
    double u = std::fabs(d) >= tol1 ? x + d : x + sign(tol1, d);
    double fu = f1dim(u);
    if (fu <= fx) {
      if (u >= x) {
        a = x;
      } else {
        b = x;
      }
      v = w;
      fv = fw;
      w = x;
      fw = fx;
      x = u;
      fx = fu;
    } else {
      if (u < x) {
        a = u;
      } else {
        b = u;
      }
      if (fu <= fw || w == x) {
        v = w;
        fv = fw;
        w = u;
        fw = fu;
      } else if (fu <= fv || v == x || v == w) {
        v = u;
        fv = fu;
      }
    }
  }
  pausePrompt(console_, "brent exceed maximum iterations");
  xmin = x;
  return fx;
}

}  // namespace kelmar
