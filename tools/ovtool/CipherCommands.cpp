// encipher, decipher, encrypt, decrypt: stored strings and page containers.
#include <iostream>
#include <random>

#include "ToolCommand.h"
#include "core/GbkText.h"
#include "store/StoredSecrets.h"
#include "store/CipherAndFiles.h"

namespace ovtool {
namespace {

struct KeyChoice {
    std::string key;
    bool defaultKey = false;

    void AddTo(CLI::App* command) {
        auto* keyOption = command->add_option("--key", key, "Key text (UTF-8, used as GBK bytes)");
        command->add_flag("--default-key", defaultKey, "Use the default key, passed explicitly")->excludes(keyOption);
    }
    std::string Bytes() const { return defaultKey ? std::string(ov::kDefaultCipherKey) : GbkArgument(key); }
};

void AddEncipher(CLI::App& app) {
    auto key = std::make_shared<KeyChoice>();
    auto text = std::make_shared<std::string>();
    auto seed = std::make_shared<int>(-1);
    auto* command = AddCommand(app, "encipher", "Encipher TEXT into hex digits that decipher restores", [=] {
        int chosen = *seed;
        if (chosen < 0) chosen = static_cast<int>(std::random_device{}() % 256);
        std::cout << ov::EncipherString(GbkArgument(*text), key->Bytes(), static_cast<uint8_t>(chosen)) << '\n';
        return kOk;
    });
    key->AddTo(command);
    command->add_option("--seed", *seed, "First (seed) byte, 0-255; random when not given")->check(CLI::Range(0, 255));
    command->add_option("TEXT", *text, "Text to encipher")->required();
}

// A stored string is a seed pair of digits and one pair per character; say
// what is wrong with digits that cannot be that, rather than let the
// decipherer stumble over a pair that is not there.
void CheckDigitPairs(const std::string& hex) {
    if (hex.empty()) throw CommandError{kBadArguments, "HEX is empty: it needs a seed pair of digits and a pair per character"};
    if (hex.size() % 2 != 0)
        throw CommandError{kBadArguments, "HEX has an odd number of digits (" + std::to_string(hex.size()) +
                                              "): digits come in pairs"};
    if (hex.size() < 4) throw CommandError{kBadArguments, "HEX holds only the seed pair: it needs a pair per character"};
}

void AddDecipher(CLI::App& app) {
    auto key = std::make_shared<KeyChoice>();
    auto hex = std::make_shared<std::string>();
    auto asHex = std::make_shared<bool>(false);
    auto* command = AddCommand(app, "decipher", "Decipher a stored hex string (no key option: the empty key)", [=] {
        CheckDigitPairs(*hex);
        std::string bytes;
        try {
            bytes = ov::DecipherString(*hex, key->Bytes());
        } catch (const ov::EConvertError& e) {
            throw CommandError{kFailed, e.what()};
        }
        std::cout << (*asHex ? ov::HexText(bytes) : ov::GbkToUtf8(bytes)) << '\n';
        return kOk;
    });
    key->AddTo(command);
    command->add_flag("--hex", *asHex, "Print the deciphered bytes as hex digits");
    command->add_option("HEX", *hex, "Enciphered hex digits")->required();
}

struct ContainerArgs {
    std::string key;
    bool keyGiven = false;
    int keyType = 0;
    std::string from;
    std::string to;

    void AddTo(CLI::App* command, const char* fromName, const char* toName) {
        command->add_option("--key", key, "Key text (default: this installation's lesson page key)");
        command->add_option("--key-type", keyType, "0 AES-128, 1 AES-192, 2 AES-256")->check(CLI::IsMember({0, 1, 2}));
        command->add_option(fromName, from)->required();
        command->add_option(toName, to)->required();
    }
    std::string KeyBytes(const CLI::App* command) const {
        if (command->count("--key") > 0) return GbkArgument(key);
        return ov::DecipherString(ov::kLessonPageKey, "");
    }
};

void AddContainerCommand(CLI::App& app, const char* name, const char* description, bool encrypt) {
    auto args = std::make_shared<ContainerArgs>();
    auto* command = AddCommand(app, name, description, {});
    command->callback([args, command, encrypt] {
        try {
            if (encrypt)
                ov::EncryptFile(args->from, args->to, args->KeyBytes(command), args->keyType);
            else
                ov::DecryptFile(args->from, args->to, args->KeyBytes(command), args->keyType);
        } catch (const std::runtime_error& e) {
            throw CommandError{kFailed, e.what()};
        }
        ExitCode() = kOk;
    });
    if (encrypt)
        args->AddTo(command, "PLAIN", "CONTAINER");
    else
        args->AddTo(command, "CONTAINER", "PLAIN");
}

}  // namespace

void AddCipherCommands(CLI::App& app) {
    AddEncipher(app);
    AddDecipher(app);
    AddContainerCommand(app, "encrypt", "Write a page container holding PLAIN", true);
    AddContainerCommand(app, "decrypt", "Decrypt a page container to its plain document", false);
}

}  // namespace ovtool
