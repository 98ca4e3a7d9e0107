# Artwork: drawn as text in resources/art, turned into bitmaps and icons at
# build time. (Filled in with the converter.)
set(MOKE_ARTWORK_RC "")
