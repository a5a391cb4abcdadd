#include "model/CTextureManager.h"

#include "core/CVerdaxException.h"
#include "model/CModelDrawCache.h"
#include "model/CTextureStacks.h"

#include <algorithm>
#include <new>

CTextureManager& CTextureManager::Instance()
{
    // A function-local static: created on first use, destroyed at exit. The
    // CSingleton template of the game layer sits above this layer.
    static CTextureManager manager;
    return manager;
}

CTextureManager::~CTextureManager() = default;

bool CTextureManager::CanLoadTextures()
{
    if (uploadContext_)
        uploadContext_();
    return HasCurrentGlContext();
}

void CTextureManager::Clear()
{
    const bool current = CanLoadTextures();
    if (current) {
        for (const auto& texture : textures_)
            texture->DeleteGlTexture();
    }
    // The models' buffer objects and the stacks live in the same contexts as the
    // textures.
    CModelDrawCache::Instance().Clear(current);
    CTextureStacks::Instance().Clear(current);
    byName_.clear();
    textures_.clear();
    ++generation_;
}

CTexture& CTextureManager::GetTexture(const std::string& fileName)
{
    if (const auto cached = byName_.find(fileName); cached != byName_.end())
        return *cached->second;

    auto texture = std::make_unique<CTexture>();
    if (uploadContext_)
        uploadContext_();
    try {
        texture->LoadBitmap(fileName);
    } catch (const CVerdaxException&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw CVerdaxException(VERDAX_ERR_MEMORY);
    } catch (const std::exception&) {
        throw CVerdaxException(VERDAX_ERR_FOREIGN);
    }
    CTexture& loaded = *texture;
    textures_.push_back(std::move(texture));
    byName_.emplace(fileName, &loaded);
    return loaded;
}
