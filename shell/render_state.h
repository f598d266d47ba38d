// The render state every pass starts from, set once before the scene start-up.
#pragma once

void setDefaultRenderState();
