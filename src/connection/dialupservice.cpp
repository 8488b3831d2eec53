#include "connection/dialupservice.h"

DialUpService::~DialUpService() = default;
