#include <libsecret/secret.h>

#include <cstdlib>

#include "platform/log.h"
#include "tools/mail/password_vault.h"

namespace vistrel::mail {
namespace {

const SecretSchema* schema() {
  static const SecretSchema kSchema = {"org.vistrel.SmtpPassword",
                                       SECRET_SCHEMA_NONE,
                                       {{"server", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                        {"login", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                        {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                       0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
  return &kSchema;
}

// Without a session bus there is no secret store, and asking for one would
// try to start a bus of its own.
bool noSession() { return !std::getenv("DBUS_SESSION_BUS_ADDRESS"); }

// Logs the error, if any, and frees it; true when there was one.
bool failed(GError* error, const char* what) {
  if (!error) return false;
  log::warning(std::string(what) + ": " + error->message);
  g_error_free(error);
  return true;
}

}  // namespace

std::optional<std::string> DesktopSecretStore::find(const std::string& server, const std::string& login) {
  if (noSession()) return std::nullopt;
  GError* error = nullptr;
  gchar* password = secret_password_lookup_sync(schema(), nullptr, &error, "server", server.c_str(), "login",
                                                login.c_str(), nullptr);
  if (failed(error, "The desktop's secret store cannot be read") || !password) return std::nullopt;
  std::string found(password);
  secret_password_free(password);
  return found;
}

bool DesktopSecretStore::keep(const std::string& server, const std::string& login, const std::string& password) {
  if (noSession()) return false;
  GError* error = nullptr;
  const std::string label = "Vistrel e-mail: " + login + " at " + server;
  const gboolean kept = secret_password_store_sync(schema(), SECRET_COLLECTION_DEFAULT, label.c_str(),
                                                   password.c_str(), nullptr, &error, "server", server.c_str(),
                                                   "login", login.c_str(), nullptr);
  return !failed(error, "The password cannot be kept in the desktop's secret store") && kept;
}

void DesktopSecretStore::forget(const std::string& server, const std::string& login) {
  if (noSession()) return;
  GError* error = nullptr;
  secret_password_clear_sync(schema(), nullptr, &error, "server", server.c_str(), "login", login.c_str(), nullptr);
  failed(error, "The desktop's secret store cannot be changed");
}

}  // namespace vistrel::mail
