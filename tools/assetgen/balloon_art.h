#pragma once
// The balloon as the game draws it, shared by the flying sheet, the burst sheet and the icon.
#include "raster.h"

namespace assetgen {

constexpr int kBalloonKinds = 4;
constexpr int kBalloonPoses = 5;

// Row colours of the sheets: red, blue, orange, magenta.
Color balloon_base(int kind);

// Where one balloon sits: the body is an egg narrowing towards the knot, tilted about it.
struct BalloonPose {
    Point centre;       // middle of the body
    double rx = 18.5;   // half width at the widest
    double ry = 21.5;   // half height
    double tilt = 0.0;  // turns, clockwise
    Point knot;         // where the neck is tied
    double sway = 0.0;  // -1 .. 1, which way the string trails
};

// Pose of animation column 1..5 in a 60x60 cell, shifted by `offset` and scaled about the cell
// origin.
BalloonPose balloon_pose(int column, Point offset = {}, double scale = 1.0);

// Body coordinates of a point: u, v are scaled so the outline is u^2 + v^2 = 1;
// normal is the outward surface normal in screen orientation (x, y; z towards the viewer).
struct BodyPoint {
    double u = 0, v = 0, r2 = 0;
    double nx = 0, ny = 0, nz = 0;
};
BodyPoint body_point(const BalloonPose& pose, Point p);

// Shaded rubber: light from the upper left, a soft glow where light passes through the far
// side, a glossy highlight. `gloss` 0 drops the crisp highlight (torn rubber has none).
Color balloon_shade(Color base, const BodyPoint& b, double gloss = 1.0);

// Body, knot and curly string.
void paint_balloon(Layer& layer, int kind, const BalloonPose& pose);
void paint_knot(Layer& layer, Color base, Point knot, double tilt, double scale);
// A short curly string hanging from `top` down to `bottom_y`, trailing by `sway`.
void paint_string(Layer& layer, Point top, double bottom_y, double sway, double phase);

}  // namespace assetgen
