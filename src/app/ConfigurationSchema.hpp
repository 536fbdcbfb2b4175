#pragma once

// The schema, in the validator's dialect, that every configuration file of the
// results tool is checked against before any work starts.
extern const char* const resultsConfigurationSchema;
