// Placeholder so the library exists until its first real source lands; removed then.
