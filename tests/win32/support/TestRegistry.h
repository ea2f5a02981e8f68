#pragma once
// Direct access to the real registry, so that tests seed and check it without the code
// under test. Every key is under HKEY_CURRENT_USER; texts are UTF-8.

#include <string>
#include <vector>

namespace quorvane::testing {

// Creates the key as needed and sets a REG_SZ value; a failure fails the test.
void SetRegString(const std::string& key, const std::string& name, const std::string& value);
// The REG_SZ value, or empty when the key, the value or the type is not there.
std::string GetRegString(const std::string& key, const std::string& name);
bool RegKeyExists(const std::string& key);
bool RegValueExists(const std::string& key, const std::string& name);
std::vector<std::string> RegValueNames(const std::string& key);
// Removes the key with everything below it; a missing key is fine.
void DeleteRegTree(const std::string& key);

}  // namespace quorvane::testing
