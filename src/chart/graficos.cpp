#include "graficos.h"

TablaCurvas curvas;

platform::OleColor qbcolor(platform::Long index)
{
    static constexpr platform::OleColor palette[16] = {
        platform::rgb(0, 0, 0),       platform::rgb(0, 0, 128),     platform::rgb(0, 128, 0),
        platform::rgb(0, 128, 128),   platform::rgb(128, 0, 0),     platform::rgb(128, 0, 128),
        platform::rgb(128, 128, 0),   platform::rgb(192, 192, 192), platform::rgb(128, 128, 128),
        platform::rgb(0, 0, 255),     platform::rgb(0, 255, 0),     platform::rgb(0, 255, 255),
        platform::rgb(255, 0, 0),     platform::rgb(255, 0, 255),   platform::rgb(255, 255, 0),
        platform::rgb(255, 255, 255),
    };
    if (index < 0 || index > 15)
        return palette[0];
    return palette[index];
}
