#include "alerts/notifier.h"

Notifier::~Notifier() = default;
