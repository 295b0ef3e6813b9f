#include "game/shell/FloatTransformerListener.h"

void FloatTransformerListener::OnValueChanged(FloatTransformer* /*transformer*/, float /*value*/, int /*id*/) {}

void FloatTransformerListener::OnFinished(FloatTransformer* /*transformer*/, int /*id*/) {}
