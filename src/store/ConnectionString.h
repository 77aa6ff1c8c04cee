#pragma once

#include <string>
#include <string_view>

namespace ov {

// What a connection text names: `Data Source=<file>;Password='<password>'`.
struct ConnectionString {
    std::string dataSource;
    std::string password;
};

// Reads the `key=value` pairs separated by ";". Keys ignore case and spaces
// around them; a value in single or double quotes may hold ";" and its own
// quote doubled. Other keys are ignored. Throws ESqliteError when there is no
// data source or a quote is not closed.
ConnectionString ParseConnectionString(std::string_view text);

// The connection text that ParseConnectionString reads back as `dataSource`
// and `password`: the password always in single quotes, the data source bare
// unless a ";", a leading quote or an outer blank needs them.
std::string FormatConnectionString(std::string_view dataSource, std::string_view password);

}  // namespace ov
