#pragma once
// The chart as one picture: the plot's image, the tick marks, the frame, the
// four limit values, the axis captions and the visible legend texts composed
// on a canvas in the chart area's twips, for printing and for the clipboard.

#include "platform/drawsurface.h"

#include <QImage>

class ctrgraficas;

// Composes the chart on a canvas that already has the chart area's size and
// a twips scale: clears it, then draws everything in the order the printout
// and the clipboard copy show it. plot is the plot's image.
void componerlienzo(ctrgraficas &grafica, platform::DrawSurface &lienzo, const QImage &plot);
