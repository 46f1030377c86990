# The two commands a newcomer needs: `make run` and `make test`.
JOBS ?= $(shell nproc)

.PHONY: run test build build-debug deps clean install package

run: build
	cd build/game && ./steel_spree $(ARGS)

test: build-debug
	ctest --preset debug -j $(JOBS)

build: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)

build-debug: deps
	cmake --preset debug >/dev/null
	cmake --build --preset debug -j $(JOBS)

# Installs the release build under PREFIX (default /usr/local): the game in PREFIX/games, its
# data in PREFIX/share/games/steel_spree, desktop entry, icons, metainfo and manual page.
PREFIX ?= /usr/local
install: build
	cmake --install build --prefix $(PREFIX)

# The Debian package of the release build: build/steel-spree_<version>_<arch>.deb.
package: build
	cd build && cpack -G DEB

deps:
	@bash scripts/install-deps.sh

clean:
	rm -rf build
