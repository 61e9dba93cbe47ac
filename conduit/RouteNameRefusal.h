// Route names the handheld cannot keep. A route's meters live in the
// database "route" + its name, which the handheld application finds by the
// name in the route list: a name that makes another database's name, or that
// no database name can hold, would put the route's meters over that database
// or somewhere the route list does not lead. Every road that stores a route
// by name asks here first, before anything is written for the route.
#pragma once

#include <string>

// For a route whose name the handheld cannot keep: logs (activity 22)
// "Wexal - Route <route> <outcome>: <why>", followed by "; <aftermath>"
// when there is one, and gives true.
bool RefusedRouteName(const std::string& route, const std::string& outcome,
                      const std::string& aftermath = {});
