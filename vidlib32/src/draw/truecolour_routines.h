#pragma once
// 16 M colours (3 bytes per pixel): the linear forms, for the routine table.
#include <cstdint>

namespace vidlib32::draw {

void ClearLinear24(uint32_t colour);
void PutPixelLinear24(int32_t x, int32_t y, uint32_t colour);
void LineLinear24(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);

} // namespace vidlib32::draw
