#pragma once
// Pictures drawn by the program itself: the logo and the toolbar images that
// the platform's standard icons do not cover.

#include <QPixmap>

// The Curvexa logo: a small chart with a fitted curve, size x size pixels.
QPixmap logocurvexa(int size);
// A chart with axes and a curve through marked points ("draw").
QPixmap iconodibujar(int size);
// A speech bubble with letters ("languages").
QPixmap iconoidiomas(int size);
