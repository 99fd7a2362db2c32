#pragma once

#include <optional>
#include <string>

namespace vistrel::mail {

// Where mail passwords are remembered when the user asks for it: never in the
// settings file. Each password belongs to a server URL and a login name.
class PasswordVault {
 public:
  virtual ~PasswordVault() = default;
  virtual std::optional<std::string> find(const std::string& server, const std::string& login) = 0;
  // False when the password could not be kept.
  virtual bool keep(const std::string& server, const std::string& login, const std::string& password) = 0;
  virtual void forget(const std::string& server, const std::string& login) = 0;
};

// The desktop's secret store (the Secret Service over D-Bus, through
// libsecret). Without one, nothing is found and nothing is kept.
class DesktopSecretStore : public PasswordVault {
 public:
  std::optional<std::string> find(const std::string& server, const std::string& login) override;
  bool keep(const std::string& server, const std::string& login, const std::string& password) override;
  void forget(const std::string& server, const std::string& login) override;
};

}  // namespace vistrel::mail
