// assembly.h - line assembly: every line trimmed to its limit points (or
// drawn straight between them), reported, and cut at the window.
#pragma once

// Assemble every line in table order.
void assemblelines();
