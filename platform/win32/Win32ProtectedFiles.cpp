#include "platform/win32/Win32ProtectedFiles.h"

#include "platform/win32/TempFile.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>
#include <wincrypt.h>

namespace velmora {
namespace {

// Administrators and SYSTEM own and may change it, users may read and run it; protected (P) from the
// rights of its parent, handed on to what is made in it (OICI).
constexpr const wchar_t* kProtectedRights = L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";
// NT SERVICE\TrustedInstaller, which owns the system's own files.
constexpr const wchar_t* kTrustedInstaller =
    L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
// What lets someone change a file or a folder: write or add to it, add or remove entries in it, remove it,
// change its rights or owner.
constexpr DWORD kChangeRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_DELETE_CHILD | DELETE | WRITE_DAC |
                                WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
constexpr DWORD kChunk = 1 << 20;
constexpr LONGLONG kLargestRead = 64ll << 20;

using unique_local = unique_any<NullIsEmpty<HLOCAL, &LocalFree>>;

std::wstring Wide(const std::string& path) {
    return Utf8ToWide(path);
}

bool IsWineUser(PSID sid);

bool IsAdministrative(PSID sid) {
    if (IsWineUser(sid))
        return true;
    if (IsWellKnownSid(sid, WinBuiltinAdministratorsSid) || IsWellKnownSid(sid, WinLocalSystemSid))
        return true;
    PSID installer = nullptr;
    if (!ConvertStringSidToSidW(kTrustedInstaller, &installer))
        return false;
    const unique_local owned(installer);
    return EqualSid(sid, installer) != FALSE;
}

// Wine (8, without the staging patches) keeps no security descriptor for a file: it makes one up from the
// Unix mode, with the running user as the owner, and the owner's rights, whatever was asked for. There, and
// only there (its ntdll says so, which no program on Windows can make it say), that user counts as one who
// may own and change our files; what the mode gives others is still checked.
bool IsWineUser(PSID sid) {
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    if (!wine)
        return false;
    unique_handle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put()))
        return false;
    alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    return GetTokenInformation(token.get(), TokenUser, buffer, sizeof buffer, &size) &&
           EqualSid(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, sid);
}

// The owner and the allowing entries of the DACL that apply to the entry itself.
FileTrust TrustOfSecurity(HANDLE entry) {
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR security = nullptr;
    if (GetSecurityInfo(entry, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                        nullptr, &dacl, nullptr, &security) != ERROR_SUCCESS)
        return FileTrust::Access;
    const unique_local owned(security);
    if (owner == nullptr || !IsAdministrative(owner))
        return FileTrust::Owner;
    if (dacl == nullptr)
        return FileTrust::Access;  // no DACL lets everyone do everything
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACE_HEADER* ace = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace)))
            return FileTrust::Access;
        if ((ace->AceFlags & INHERIT_ONLY_ACE) != 0 || ace->AceType == ACCESS_DENIED_ACE_TYPE)
            continue;
        // A callback entry has the same layout; any other kind of allowing entry is not looked into.
        if (ace->AceType != ACCESS_ALLOWED_ACE_TYPE && ace->AceType != ACCESS_ALLOWED_CALLBACK_ACE_TYPE)
            return FileTrust::Access;
        auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace);
        if ((allowed->Mask & kChangeRights) != 0 && !IsAdministrative(&allowed->SidStart))
            return FileTrust::Access;
    }
    return FileTrust::Trusted;
}

// The entry itself, a link not followed.
unique_hfile OpenEntry(const std::wstring& path, DWORD access, DWORD share) {
    return unique_hfile(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

FileTrust TrustOfOpen(HANDLE entry, BY_HANDLE_FILE_INFORMATION& info) {
    if (!GetFileInformationByHandle(entry, &info))
        return FileTrust::Access;
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return FileTrust::ReparsePoint;
    // A second name for a file may lie where others write it.
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && info.nNumberOfLinks > 1)
        return FileTrust::Access;
    return TrustOfSecurity(entry);
}

// The protected rights as security attributes; they own the descriptor.
class ProtectedAttributes {
  public:
    ProtectedAttributes() {
        PSECURITY_DESCRIPTOR security = nullptr;
        if (ConvertStringSecurityDescriptorToSecurityDescriptorW(kProtectedRights, SDDL_REVISION_1, &security,
                                                                 nullptr))
            security_.reset(security);
        attributes_.lpSecurityDescriptor = security_.get();
    }
    SECURITY_ATTRIBUTES* get() { return security_ ? &attributes_ : nullptr; }

  private:
    unique_local security_;
    SECURITY_ATTRIBUTES attributes_{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

// SHA-256 from the system's provider.
class Sha256Hash {
  public:
    Sha256Hash() {
        if (CryptAcquireContextW(&provider_, nullptr, nullptr, PROV_RSA_AES,
                                 CRYPT_VERIFYCONTEXT | CRYPT_SILENT))
            ok_ = CryptCreateHash(provider_, CALG_SHA_256, 0, 0, &hash_) != FALSE;
    }
    Sha256Hash(const Sha256Hash&) = delete;
    Sha256Hash& operator=(const Sha256Hash&) = delete;
    ~Sha256Hash() {
        if (hash_ != 0)
            CryptDestroyHash(hash_);
        if (provider_ != 0)
            CryptReleaseContext(provider_, 0);
    }
    void Add(const char* data, std::size_t size) {
        for (std::size_t done = 0; ok_ && done < size;) {
            const DWORD part = static_cast<DWORD>(std::min<std::size_t>(kChunk, size - done));
            ok_ = CryptHashData(hash_, reinterpret_cast<const BYTE*>(data + done), part, 0) != FALSE;
            done += part;
        }
    }
    std::optional<std::string> Hex() {
        BYTE value[32];
        DWORD size = sizeof value;
        if (!ok_ || !CryptGetHashParam(hash_, HP_HASHVAL, value, &size, 0) || size != sizeof value)
            return std::nullopt;
        std::string hex;
        for (const BYTE b : value) {
            hex += "0123456789abcdef"[b >> 4];
            hex += "0123456789abcdef"[b & 0xF];
        }
        return hex;
    }

  private:
    HCRYPTPROV provider_ = 0;
    HCRYPTHASH hash_ = 0;
    bool ok_ = false;
};

class Win32HeldFile : public HeldFile {
  public:
    explicit Win32HeldFile(unique_hfile file) : file_(std::move(file)) {}
    std::optional<std::string> Sha256() override {
        LARGE_INTEGER start{};
        if (!SetFilePointerEx(file_.get(), start, nullptr, FILE_BEGIN))
            return std::nullopt;
        Sha256Hash hash;
        std::string chunk(kChunk, '\0');
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(file_.get(), chunk.data(), kChunk, &got, nullptr))
                return std::nullopt;
            if (got == 0)
                return hash.Hex();
            hash.Add(chunk.data(), got);
        }
    }

  private:
    unique_hfile file_;
};

}  // namespace

std::string Win32ProtectedFiles::CommonDataFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    return WideToUtf8(folder);
}

FileTrust Win32ProtectedFiles::Trust(const std::string& path) {
    const unique_hfile entry = OpenEntry(Wide(path), READ_CONTROL | FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (!entry) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileTrust::Missing
                                                                              : FileTrust::Access;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    return TrustOfOpen(entry.get(), info);
}

bool Win32ProtectedFiles::CreateFolder(const std::string& path) {
    ProtectedAttributes attributes;
    return attributes.get() != nullptr && CreateDirectoryW(Wide(path).c_str(), attributes.get());
}

bool Win32ProtectedFiles::MoveAside(const std::string& path, const std::string& to) {
    // A rename acts on the entry: a junction or link is renamed itself.
    return MoveFileExW(Wide(path).c_str(), Wide(to).c_str(), 0);
}

std::optional<std::string> Win32ProtectedFiles::Read(const std::string& path) {
    // Nobody may write it while it is checked and read.
    const unique_hfile file = OpenEntry(Wide(path), GENERIC_READ | READ_CONTROL, FILE_SHARE_READ);
    BY_HANDLE_FILE_INFORMATION info{};
    LARGE_INTEGER size{};
    if (!file || TrustOfOpen(file.get(), info) != FileTrust::Trusted ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !GetFileSizeEx(file.get(), &size) ||
        size.QuadPart > kLargestRead)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    for (std::size_t done = 0; done < bytes.size();) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(kChunk, bytes.size() - done));
        if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr) || got == 0)
            return std::nullopt;
        done += got;
    }
    return bytes;
}

bool Win32ProtectedFiles::Write(const std::string& path, std::string_view bytes) {
    ProtectedAttributes attributes;
    const std::wstring target = Wide(path);
    std::optional<TempFile> temp =
        attributes.get() ? CreateTempFileBeside(target, attributes.get()) : std::nullopt;
    if (!temp)
        return false;
    bool written = true;
    for (std::size_t done = 0; written && done < bytes.size();) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(kChunk, bytes.size() - done));
        DWORD put = 0;
        written = WriteFile(temp->handle.get(), bytes.data() + done, want, &put, nullptr) && put == want;
        done += put;
    }
    written = written && FlushFileBuffers(temp->handle.get());
    temp->handle.reset();
    if (!written) {
        DeleteFileW(temp->path.c_str());
        return false;
    }
    return MoveTempFileOver(temp->path, target);
}

bool Win32ProtectedFiles::Remove(const std::string& path) {
    const std::wstring wide = Wide(path);
    // The attributes of a link are its own: a junction is removed as the folder entry it is, a file link as
    // a file, and neither touches what it points at.
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND;
    const bool removed = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? RemoveDirectoryW(wide.c_str())
                                                                      : DeleteFileW(wide.c_str());
    return removed || GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::unique_ptr<HeldFile> Win32ProtectedFiles::Hold(const std::string& path) {
    unique_hfile file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return nullptr;
    return std::make_unique<Win32HeldFile>(std::move(file));
}

std::optional<std::string> Win32ProtectedFiles::Sha256(std::string_view bytes) {
    Sha256Hash hash;
    hash.Add(bytes.data(), bytes.size());
    return hash.Hex();
}

}  // namespace velmora
